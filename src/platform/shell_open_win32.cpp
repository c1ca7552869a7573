// The shell's "open" verb through ShellExecuteA. A result above 32 means a program took the
// document; anything else is a failure, reported as GetLastError's code, or as the result itself
// when the shell left no error code behind.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "platform/code_page_win32.h"
#include "platform/shell_open.h"

namespace rsf::platform {

OpenOutcome OpenWithAssociatedProgram(const std::string& path) {
  const std::string system_path = ToAnsiCodePage(path);
  if (system_path.empty()) return {ERROR_FILE_NOT_FOUND, {}};
  ::SetLastError(0);
  HINSTANCE result = ::ShellExecuteA(nullptr, "open", system_path.c_str(), nullptr, nullptr, SW_SHOW);
  const auto code = reinterpret_cast<std::intptr_t>(result);
  if (code > 32) return {};
  const DWORD error = ::GetLastError();
  if (error != 0) return {error, {}};
  return {code != 0 ? static_cast<std::uint32_t>(code) : ERROR_GEN_FAILURE, {}};
}

}  // namespace rsf::platform
