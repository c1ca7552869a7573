// The desktop program's runs: the window with its message loop, and the self-check. Both set up
// common controls and COM and give the main window the Win32 services.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace rsf::win32 {

// `arguments` are the command line's arguments after the program name (UTF-8); the first, when
// given, is the source. Returns the program's exit code.
int RunProgram(const std::vector<std::string>& arguments);

// rsf-extractor --self-check SOURCE (desktop/self_check.h): the main window, never shown, scans
// `source`; the report, and every message box the scan raises, goes to `out`. Returns the exit
// code.
int RunSelfCheck(const std::string& source, std::FILE* out);

}  // namespace rsf::win32
