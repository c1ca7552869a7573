// POSIX files. Read sharing is expressed with advisory locks: a source holds a shared lock,
// a target an exclusive one, so cooperating programs see the same rules as on Windows.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/errors.h"
#include "platform/file.h"

namespace rsf::platform {
namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

std::unique_ptr<File> File::OpenReadShared(const std::string& path) {
  int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileOpenError(path);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) || ::flock(fd, LOCK_SH | LOCK_NB) != 0) {
    ::close(fd);
    throw FileOpenError(path);
  }
  return std::unique_ptr<File>(new File(fd));
}

std::unique_ptr<File> File::CreateExclusive(const std::string& path) {
  int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) throw FileCreateError(path);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    throw FileCreateError(path);
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

bool File::Close() {
  if (handle_ < 0) return true;
  int result = ::close(Fd(handle_));
  handle_ = -1;
  return result == 0;
}

}  // namespace rsf::platform
