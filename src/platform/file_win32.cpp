// Win32 files. A source is opened with read sharing only, so no other program can write it while
// a scan reads it; a target is created with no sharing at all. Paths arrive as UTF-8 and are
// handed to the ANSI functions in the system's code page.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <string>

#include "base/errors.h"
#include "platform/file.h"

namespace rsf::platform {
namespace {

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::intptr_t Stored(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
}

// UTF-8 to the ANSI code page (CP_ACP). Characters the code page lacks become its default
// character, which names no existing file, so the open fails as it should. Invalid UTF-8 gives
// an empty path.
std::string SystemPath(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int wide_length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (wide_length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      wide_length);
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string path(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, path.data(), length, nullptr, nullptr);
  return path;
}

// Win32 transfers at most 4 GiB - 1 bytes per call; larger requests go in pieces.
constexpr std::int64_t kMaxTransfer = 1 << 30;

}  // namespace

std::unique_ptr<File> File::OpenReadShared(const std::string& path) {
  const std::string system_path = SystemPath(path);
  if (system_path.empty()) throw FileOpenError(path);
  HANDLE handle = CreateFileA(system_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw FileOpenError(path);
  return std::unique_ptr<File>(new File(Stored(handle)));
}

std::unique_ptr<File> File::CreateExclusive(const std::string& path) {
  const std::string system_path = SystemPath(path);
  if (system_path.empty()) throw FileCreateError(path);
  HANDLE handle = CreateFileA(system_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw FileCreateError(path);
  return std::unique_ptr<File>(new File(Stored(handle)));
}

File::~File() {
  if (handle_ >= 0) CloseHandle(Handle(handle_));
}

std::int64_t File::Size() const {
  LARGE_INTEGER size{};
  if (GetFileSizeEx(Handle(handle_), &size)) return static_cast<std::int64_t>(size.QuadPart);
  // A volume or disk opened through "\\.\" has no file size, only a length.
  GET_LENGTH_INFORMATION length{};
  DWORD returned = 0;
  if (DeviceIoControl(Handle(handle_), IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof length, &returned,
                      nullptr))
    return static_cast<std::int64_t>(length.Length.QuadPart);
  return -1;
}

std::int64_t File::ReadAt(std::int64_t offset, void* buffer, std::int64_t count) {
  if (offset < 0 || count < 0) return -1;
  auto* out = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    // The offset travels with each read, as with pread, instead of through the shared file
    // pointer.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset + done) & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset + done) >> 32);
    const auto wanted = static_cast<DWORD>(std::min(count - done, kMaxTransfer));
    DWORD got = 0;
    if (!ReadFile(Handle(handle_), out + done, wanted, &got, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return done > 0 ? done : -1;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

std::int64_t File::Write(const void* buffer, std::int64_t count) {
  // Only this handle writes the file, so its end is the end of what was written.
  LARGE_INTEGER none{};
  if (!SetFilePointerEx(Handle(handle_), none, nullptr, FILE_END)) return 0;
  const auto* in = static_cast<const char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const auto wanted = static_cast<DWORD>(std::min(count - done, kMaxTransfer));
    DWORD put = 0;
    if (!WriteFile(Handle(handle_), in + done, wanted, &put, nullptr) || put == 0) break;
    done += put;
  }
  return done;
}

bool File::Close() {
  if (handle_ < 0) return true;
  const BOOL closed = CloseHandle(Handle(handle_));
  handle_ = -1;
  return closed != 0;
}

}  // namespace rsf::platform
