// The desktop program's run: common controls, the services, the main window and its message
// loop.
#pragma once

#include <string>
#include <vector>

namespace rsf::win32 {

// `arguments` are the command line's arguments after the program name (UTF-8); the first, when
// given, is the source. Returns the program's exit code.
int RunProgram(const std::vector<std::string>& arguments);

}  // namespace rsf::win32
