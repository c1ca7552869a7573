// The choices a scan run reads at its start: the ticked clip types and the two test options.
#pragma once

#include <array>

#include "scan/clip_types.h"

namespace rsf {

struct ScanOptions {
  std::array<bool, kClipKindCount> enabled{};  // by ClipKind
  bool mp3_mode = false;
  bool ignore_read_errors = false;

  bool Enabled(ClipKind kind) const { return enabled[static_cast<int>(kind)]; }
  static ScanOptions AllTypes() {
    ScanOptions options;
    options.enabled.fill(true);
    return options;
  }
};

}  // namespace rsf
