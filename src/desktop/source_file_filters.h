// The filters of the source file dialog: every file first (the default: any file can hold
// clips), then the disc images that are read as discs.
#pragma once

#include <array>
#include <string_view>

namespace rsf::desktop {

struct FileFilter {
  std::string_view name;
  std::string_view patterns;  // separated by spaces; "*" is every file
};

inline constexpr std::array<FileFilter, 2> kSourceFileFilters = {{
    {"所有文件", "*"},
    {"光盘映像", "*.cue *.bin *.img"},
}};

}  // namespace rsf::desktop
