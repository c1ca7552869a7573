// rsf-extractor.exe: takes the command line as UTF-16 and starts the desktop program.
//   rsf-extractor.exe [SOURCE]             the window, with SOURCE in the source field
//   rsf-extractor.exe --version            the product name, version and build
//   rsf-extractor.exe --self-check SOURCE  scans SOURCE in the window and reports what it found
// The program has no console of its own (the GUI subsystem): the two reports reach whatever its
// standard output was redirected to, in UTF-8.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/product.h"
#include "win32/program.h"
#include "win32/wide_text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* wide_arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(rsf::win32::Utf8(wide_arguments[i]));
  ::LocalFree(wide_arguments);
  if (arguments.size() == 1 && arguments[0] == "--version") {
    std::printf("%s\n", rsf::VersionLine("rsf-extractor").c_str());
    std::fflush(stdout);
    return 0;
  }
  if (arguments.size() == 2 && arguments[0] == "--self-check") return rsf::win32::RunSelfCheck(arguments[1], stdout);
  return rsf::win32::RunProgram(arguments);
}
