// rsf-extractor.exe: takes the command line as UTF-16 and starts the desktop program.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "win32/program.h"
#include "win32/wide_text.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* wide_arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(rsf::win32::Utf8(wide_arguments[i]));
  ::LocalFree(wide_arguments);
  return rsf::win32::RunProgram(arguments);
}
