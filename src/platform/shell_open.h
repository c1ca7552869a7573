// Opening a document with the program that the desktop associates with its type: xdg-open
// on POSIX desktops, the shell's "open" verb on Windows.
#pragma once

#include <cstdint>
#include <string>

namespace rsf::platform {

struct OpenOutcome {
  // 0 when a program was started for the document, otherwise the system's error code for why
  // not (an errno value on POSIX systems, GetLastError's value on Windows), never 0 then.
  std::uint32_t error = 0;
  // Why not, in the user's words, where the opener's verdict says more than the code (which
  // of xdg-open's failures it was); empty when the code's system message is the reason.
  std::string reason;
};

// Hands `path` (a file name or an address) to the desktop.
OpenOutcome OpenWithAssociatedProgram(const std::string& path);

}  // namespace rsf::platform
