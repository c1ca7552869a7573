// Win32 files. A source is opened with read sharing only, so no other program can write it while
// a scan reads it; a new file is created with no sharing at all, and only where the name is
// free (CREATE_NEW). Paths arrive as UTF-8 and are handed to the ANSI functions in the
// system's code page.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <string>

#include "base/errors.h"
#include "base/random_text.h"
#include "platform/error_text.h"
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

constexpr const char* kNotAFileReason = "不是文件，也不是磁盘设备（管道或终端等不能作为源）";
constexpr int kFolderNameTries = 100;

}  // namespace

std::unique_ptr<File> File::OpenReadShared(const std::string& path) {
  const std::string system_path = SystemPath(path);
  if (system_path.empty()) throw FileOpenError(path, ReasonText(ERROR_INVALID_NAME));
  HANDLE handle = CreateFileA(system_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw FileOpenError(path, LastErrorReason());
  // Files and volumes are disk objects; a pipe or a console would block or never end.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    throw FileOpenError(path, kNotAFileReason);
  }
  return std::unique_ptr<File>(new File(Stored(handle)));
}

std::unique_ptr<File> File::CreateNew(const std::string& path, Access /*access: the folder's rights decide*/) {
  const std::string system_path = SystemPath(path);
  if (system_path.empty()) throw FileCreateError(path, ReasonText(ERROR_INVALID_NAME));
  HANDLE handle = CreateFileA(system_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return nullptr;
    throw FileCreateError(path, ReasonText(error));
  }
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

bool File::Flush() { return handle_ >= 0 && FlushFileBuffers(Handle(handle_)) != 0; }

bool File::Close() {
  if (handle_ < 0) return true;
  const BOOL closed = CloseHandle(Handle(handle_));
  handle_ = -1;
  return closed != 0;
}

bool File::IsNamed(const std::string& path) const {
  const std::string system_path = SystemPath(path);
  if (handle_ < 0 || system_path.empty()) return false;
  // The name itself, not what a link under it points to.
  HANDLE named = CreateFileA(system_path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION mine{}, theirs{};
  const bool same = GetFileInformationByHandle(Handle(handle_), &mine) && GetFileInformationByHandle(named, &theirs) &&
                    mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
                    mine.nFileIndexHigh == theirs.nFileIndexHigh && mine.nFileIndexLow == theirs.nFileIndexLow;
  CloseHandle(named);
  return same;
}

std::string RenameReplacing(const std::string& from, const std::string& to) {
  const std::string system_from = SystemPath(from), system_to = SystemPath(to);
  if (system_from.empty() || system_to.empty()) return ReasonText(ERROR_INVALID_NAME);
  if (MoveFileExA(system_from.c_str(), system_to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return {};
  return LastErrorReason();
}

bool FileExists(const std::string& path) {
  const std::string system_path = SystemPath(path);
  return !system_path.empty() && GetFileAttributesA(system_path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RemoveFile(const std::string& path) {
  const std::string system_path = SystemPath(path);
  if (system_path.empty()) return false;
  return DeleteFileA(system_path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::string CreatePrivateFolder(const std::string& parent, const std::string& stem) {
  for (int attempt = 0; attempt < kFolderNameTries; ++attempt) {
    const std::string folder = parent + stem + RandomHexDigits(8);
    const std::string system_folder = SystemPath(folder);
    if (system_folder.empty()) throw FileCreateError(folder, ReasonText(ERROR_INVALID_NAME));
    // The user's temporary folder already keeps other users out; the new folder inherits that.
    if (CreateDirectoryA(system_folder.c_str(), nullptr)) return folder + "\\";
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS) throw FileCreateError(folder, ReasonText(error));
  }
  throw FileCreateError(parent + stem, ReasonText(ERROR_ALREADY_EXISTS));
}

bool RemoveEmptyFolder(const std::string& path) {
  const std::string system_path = SystemPath(path);
  if (system_path.empty()) return false;
  return RemoveDirectoryA(system_path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
         GetLastError() == ERROR_PATH_NOT_FOUND;
}

std::string FolderOf(const std::string& path) {
  const std::size_t delimiter = path.find_last_of("\\/:");
  return delimiter == std::string::npos ? std::string() : path.substr(0, delimiter + 1);
}

}  // namespace rsf::platform
