// rsfx: batch front end over the scan engine.
#include <cstdio>

#include "cli/rsfx_app.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The program works in UTF-8, but Windows hands main its arguments in the ANSI code page, where
// a name outside that code page is already lost; they are taken again from the UTF-16 command
// line instead.
int main() {
  int argc = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (wide == nullptr) return 1;
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(length > 0 ? static_cast<std::size_t>(length) : 1, '\0');
    if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), length, nullptr, nullptr);
    arg.resize(arg.size() - 1);  // the terminating zero
    args.push_back(std::move(arg));
  }
  LocalFree(wide);
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  // The output is UTF-8 too: a console window shows it as such while rsfx runs and gets its own
  // code page back afterwards. Redirected output is not touched (no console: code page 0).
  const UINT console_code_page = GetConsoleOutputCP();
  if (console_code_page != 0) SetConsoleOutputCP(CP_UTF8);
  const int status = rsf::cli::RsfxMain(argc, argv.data(), stdout, stderr);
  if (console_code_page != 0) {
    std::fflush(stdout);
    std::fflush(stderr);
    SetConsoleOutputCP(console_code_page);
  }
  return status;
}
#else
int main(int argc, char** argv) { return rsf::cli::RsfxMain(argc, argv, stdout, stderr); }
#endif
