// The main window's option state, owned by the desktop core: the clip-type ticks and the ticks
// of the option and test menu items. Front ends show it and report every click; the commands
// read it at the moment they act.
#pragma once

#include <array>
#include <cstddef>

#include "scan/catalogue/clip_type_table.h"
#include "scan/engine/scan_options.h"

namespace rsf::desktop {

struct WindowOptions {
  // By ClipKind; the classic types are ticked at start.
  std::array<bool, kClipKindCount> clip_types = ScanOptions::ClassicTypes().enabled;
  bool start_analysis_on_drop = true;    // "拖放后开始分析"
  bool internal_playback_first = true;   // "首先尝试内部回放"
  bool precise = false;                  // "精确边界"
  bool mp3_mode = false;                 // "MP3 模式"
  bool ignore_read_errors = false;       // "忽略读取错误"

  bool Ticked(ClipKind kind) const { return clip_types[static_cast<std::size_t>(kind)]; }
  void Tick(ClipKind kind, bool ticked) { clip_types[static_cast<std::size_t>(kind)] = ticked; }

  // What a scan started now reads.
  ScanOptions ForScan() const {
    ScanOptions options;
    options.enabled = clip_types;
    options.mp3_mode = mp3_mode;
    options.ignore_read_errors = ignore_read_errors;
    options.precise = precise;
    return options;
  }
};

}  // namespace rsf::desktop
