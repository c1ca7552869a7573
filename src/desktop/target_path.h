// The target prefix made from a chosen target file: the path without its extension.
#pragma once

#include <string>
#include <string_view>

namespace rsf::desktop {

// Characters that end the folder part of a path on this platform.
#ifdef _WIN32
inline constexpr std::string_view kPathDelimiters = "\\:";
#else
inline constexpr std::string_view kPathDelimiters = "/";
#endif

// Folder and file name with the extension (from the name's last ".") removed:
// /rips/intro.avi gives /rips/intro. `path` is UTF-8, whose multi-byte characters never hold
// the bytes of a delimiter or a dot.
std::string TargetPrefix(std::string_view path, std::string_view delimiters = kPathDelimiters);

}  // namespace rsf::desktop
