// The temporary folder from GetTempPathA (which already ends with a backslash) and the room left
// for the user from GetDiskFreeSpaceExA (the quota-aware figure, not the volume's total free).
// Folder names are UTF-8 in the program and the ANSI code page at the calls.
#include <windows.h>

#include <limits>

#include "platform/code_page_win32.h"
#include "platform/temporary_folder.h"

namespace rsf::platform {

std::string TemporaryFolder() {
  std::string folder(MAX_PATH + 1, '\0');
  DWORD length = ::GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
  if (length > folder.size()) {
    folder.assign(length, '\0');
    length = ::GetTempPathA(static_cast<DWORD>(folder.size()), folder.data());
  }
  if (length == 0 || length > folder.size()) return {};
  folder.resize(length);
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return FromAnsiCodePage(folder);
}

std::int64_t FreeDiskSpace(const std::string& folder) {
  const std::string system_folder = ToAnsiCodePage(folder);
  if (system_folder.empty()) return -1;
  ULARGE_INTEGER available{};
  if (!::GetDiskFreeSpaceExA(system_folder.c_str(), &available, nullptr, nullptr)) return -1;
  constexpr auto kMost = static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
  if (available.QuadPart > kMost) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(available.QuadPart);
}

}  // namespace rsf::platform
