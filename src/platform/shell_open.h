// Opening a document with the program that the desktop associates with its type: xdg-open
// on POSIX desktops, the shell's "open" verb on Windows.
#pragma once

#include <cstdint>
#include <string>

namespace rsf::platform {

// Hands `path` to the desktop. Returns 0 when a program was started for it, otherwise the
// system's error code for why not (an errno value on POSIX systems, GetLastError's value on
// Windows), never 0 for a failure.
std::uint32_t OpenWithAssociatedProgram(const std::string& path);

}  // namespace rsf::platform
