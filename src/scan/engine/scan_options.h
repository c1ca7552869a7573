// The choices a scan run reads at its start: the ticked clip types, the rule set and the two
// test options.
#pragma once

#include <array>
#include <cstddef>

#include "scan/catalogue/clip_type_table.h"
#include "scan/catalogue/clip_types.h"

namespace rsf {

struct ScanOptions {
  std::array<bool, kClipKindCount> enabled{};  // by ClipKind
  bool mp3_mode = false;
  bool ignore_read_errors = false;
  // The precise rules: each clip is delimited by walking its own structure, and a clip that
  // lies wholly inside one already listed is not listed. Off: the classic rules.
  bool precise = false;

  bool Enabled(ClipKind kind) const { return enabled[static_cast<int>(kind)]; }
  // The classic types, as the window ticks them at start and rsfx without --types.
  static ScanOptions ClassicTypes() {
    ScanOptions options;
    for (const ClipTypeRecord& type : ClipTypeTable())
      options.enabled[static_cast<std::size_t>(type.kind)] = type.group == ClipTypeGroup::kClassic;
    return options;
  }
  // Every type, the further ones too.
  static ScanOptions AllTypes() {
    ScanOptions options;
    options.enabled.fill(true);
    return options;
  }
};

}  // namespace rsf
