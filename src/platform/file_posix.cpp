// POSIX files. Read sharing is expressed with advisory locks: a source holds a shared lock, a
// new file an exclusive one, so cooperating programs see the same rules as on Windows.
// Sources are opened non-blocking so that a named pipe cannot hold the open; once the file is
// known to be a regular file or a block device, reads block again as usual.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "base/errors.h"
#include "platform/error_text.h"
#include "platform/file.h"

namespace rsf::platform {
namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

constexpr const char* kNotAFileReason = "不是文件，也不是块设备（命名管道、套接字或终端等不能作为源）";

// Closes `fd` and raises the open error for `path` with `reason`.
[[noreturn]] void RefuseSource(int fd, const std::string& path, const std::string& reason) {
  ::close(fd);
  throw FileOpenError(path, reason);
}

// Whether `folder` (with its trailing separator; empty for the working folder) is a folder.
bool FolderExists(const std::string& folder) {
  struct stat info {};
  return ::stat(folder.empty() ? "." : folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::unique_ptr<File> File::OpenReadShared(const std::string& path) {
  if (path.empty()) throw FileOpenError(path, ReasonText(ENOENT));
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) throw FileOpenError(path, LastErrorReason());
  struct stat info {};
  if (::fstat(fd, &info) != 0) RefuseSource(fd, path, LastErrorReason());
  if (S_ISDIR(info.st_mode)) RefuseSource(fd, path, ReasonText(EISDIR));
  if (!S_ISREG(info.st_mode) && !S_ISBLK(info.st_mode)) RefuseSource(fd, path, kNotAFileReason);
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) RefuseSource(fd, path, LastErrorReason());
  if (::flock(fd, LOCK_SH | LOCK_NB) != 0) RefuseSource(fd, path, LastErrorReason());
  return std::unique_ptr<File>(new File(fd));
}

std::unique_ptr<File> File::CreateNew(const std::string& path, Access access) {
  if (path.empty()) throw FileCreateError(path, ReasonText(ENOENT));
  const mode_t mode = access == Access::kOwnerOnly ? 0600 : 0666;  // the mask applies to both
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode);
  if (fd < 0) {
    const int error = errno;
    if (error == EEXIST) return nullptr;
    // A folder that exists but takes no files (/proc and the like) answers "no such file":
    // what stops the user is that the folder cannot be written.
    if (error == ENOENT && FolderExists(path.substr(0, path.find_last_of('/') + 1)))
      throw FileCreateError(path, ReasonText(EACCES));
    throw FileCreateError(path, ReasonText(static_cast<std::uint32_t>(error)));
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const std::string reason = LastErrorReason();
    ::close(fd);
    ::unlink(path.c_str());
    throw FileCreateError(path, reason);
  }
  return std::unique_ptr<File>(new File(fd));
}

File::~File() {
  if (handle_ >= 0) ::close(Fd(handle_));
}

std::int64_t File::Size() const {
  struct stat info {};
  if (::fstat(Fd(handle_), &info) != 0) return -1;
  if (S_ISBLK(info.st_mode)) {
    off_t end = ::lseek(Fd(handle_), 0, SEEK_END);
    return end < 0 ? -1 : static_cast<std::int64_t>(end);
  }
  return static_cast<std::int64_t>(info.st_size);
}

std::int64_t File::ReadAt(std::int64_t offset, void* buffer, std::int64_t count) {
  if (offset < 0 || count < 0) return -1;
  auto* out = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    ssize_t got = ::pread(Fd(handle_), out + done, static_cast<size_t>(count - done), offset + done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? done : -1;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

std::int64_t File::Write(const void* buffer, std::int64_t count) {
  const auto* in = static_cast<const char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    ssize_t put = ::write(Fd(handle_), in + done, static_cast<size_t>(count - done));
    if (put < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (put == 0) break;
    done += put;
  }
  return done;
}

bool File::Flush() { return handle_ >= 0 && ::fsync(Fd(handle_)) == 0; }

bool File::Close() {
  if (handle_ < 0) return true;
  int result = ::close(Fd(handle_));
  handle_ = -1;
  return result == 0;
}

bool File::IsNamed(const std::string& path) const {
  struct stat mine {}, named {};
  if (handle_ < 0 || ::fstat(Fd(handle_), &mine) != 0 || ::lstat(path.c_str(), &named) != 0) return false;
  return mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
}

std::string RenameReplacing(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) == 0) return {};
  return LastErrorReason();
}

bool FileExists(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

std::string CreatePrivateFolder(const std::string& parent, const std::string& stem) {
  std::string folder = parent + stem + "XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr) throw FileCreateError(parent + stem, LastErrorReason());
  return folder + "/";
}

bool RemoveEmptyFolder(const std::string& path) { return ::rmdir(path.c_str()) == 0 || errno == ENOENT; }

std::string FolderOf(const std::string& path) {
  const std::size_t delimiter = path.find_last_of('/');
  return delimiter == std::string::npos ? std::string() : path.substr(0, delimiter + 1);
}

}  // namespace rsf::platform
