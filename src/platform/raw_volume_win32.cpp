// Raw volumes on Windows: GetDiskFreeSpaceA on the drive for the size, and the volume device
// "\\.\" + drive (for example \\.\d:) opened with CreateFileA for reading, shared for reading.
#include <windows.h>

#include "platform/raw_volume.h"

namespace rsf::platform {

std::int64_t RawVolumeSize(const std::string& drive) {
  DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, total_clusters = 0;
  if (!::GetDiskFreeSpaceA(drive.c_str(), &sectors_per_cluster, &bytes_per_sector, &free_clusters, &total_clusters))
    return -1;
  // A CD file system has one sector per cluster, so sectors × clusters is the volume.
  return static_cast<std::int64_t>(bytes_per_sector) * static_cast<std::int64_t>(total_clusters);
}

std::int64_t ReadRawVolume(const std::string& drive, std::int64_t offset, void* buffer, std::int64_t length) {
  if (offset < 0 || length < 0 || length > 0x7FFFFFFF) return -1;
  const std::string device = "\\\\.\\" + drive;
  HANDLE handle = ::CreateFileA(device.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return -1;
  LONG high = static_cast<LONG>(offset >> 32);
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
