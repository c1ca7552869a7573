// Raw volumes on Windows. A drive ("d:") is read through its volume device "\\.\d:" and sized by
// GetDiskFreeSpaceA on its root; any other name is a file (a disc image, say) read through the
// same CreateFileA / SetFilePointer / ReadFile / CloseHandle code and sized by GetFileSizeEx.
// Opened for reading, shared for reading; names are UTF-8, the calls take the ANSI code page.
#include <windows.h>

#include <cctype>

#include "platform/code_page_win32.h"
#include "platform/raw_volume.h"

namespace rsf::platform {
namespace {

bool IsDriveName(const std::string& drive) {
  return drive.size() == 2 && drive[1] == ':' && std::isalpha(static_cast<unsigned char>(drive[0]));
}

std::string DevicePath(const std::string& drive) {
  if (IsDriveName(drive)) return "\\\\.\\" + drive;
  return ToAnsiCodePage(drive);
}

HANDLE OpenVolume(const std::string& drive) {
  const std::string device = DevicePath(drive);
  if (device.empty()) return INVALID_HANDLE_VALUE;
  return ::CreateFileA(device.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

std::int64_t RawVolumeSize(const std::string& drive) {
  if (IsDriveName(drive)) {
    const std::string root = drive + "\\";
    DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, total_clusters = 0;
    if (!::GetDiskFreeSpaceA(root.c_str(), &sectors_per_cluster, &bytes_per_sector, &free_clusters, &total_clusters))
      return -1;
    // A CD file system has one sector per cluster, so sectors × clusters is the volume.
    return static_cast<std::int64_t>(bytes_per_sector) * static_cast<std::int64_t>(total_clusters);
  }
  HANDLE handle = OpenVolume(drive);
  if (handle == INVALID_HANDLE_VALUE) return -1;
  LARGE_INTEGER size{};
  const bool known = ::GetFileSizeEx(handle, &size) != 0;
  ::CloseHandle(handle);
  return known ? static_cast<std::int64_t>(size.QuadPart) : -1;
}

std::int64_t ReadRawVolume(const std::string& drive, std::int64_t offset, void* buffer, std::int64_t length) {
  if (offset < 0 || length < 0 || length > 0x7FFFFFFF) return -1;
  HANDLE handle = OpenVolume(drive);
  if (handle == INVALID_HANDLE_VALUE) return -1;
  LONG high = static_cast<LONG>(offset >> 32);
  ::SetLastError(NO_ERROR);
  const DWORD low = ::SetFilePointer(handle, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
  std::int64_t result = -1;
  if (low != INVALID_SET_FILE_POINTER || ::GetLastError() == NO_ERROR) {
    DWORD got = 0;
    if (::ReadFile(handle, buffer, static_cast<DWORD>(length), &got, nullptr)) result = got;
  }
  ::CloseHandle(handle);
  return result;
}

}  // namespace rsf::platform
