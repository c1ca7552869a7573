// Raw volumes on POSIX systems: the block device of the drive (size through BLKGETSIZE64) or a
// regular file standing in for one (its file size). Opening a CD device without a disc fails,
// and a block device of size 0 has no medium either: both give -1.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#if defined(__linux__)
#include <linux/fs.h>
#endif

#include "platform/raw_volume.h"

namespace rsf::platform {
namespace {

// Opens a regular file or a block device; anything else (a named pipe would hold the open
// for ever) is refused. Closes the descriptor on every path.
class OpenVolume {
 public:
  explicit OpenVolume(const std::string& drive)
      : fd_(drive.empty() ? -1 : ::open(drive.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) {
    struct stat info {};
    if (fd_ < 0) return;
    const int flags = ::fcntl(fd_, F_GETFL);
    if (::fstat(fd_, &info) != 0 || (!S_ISREG(info.st_mode) && !S_ISBLK(info.st_mode)) || flags < 0 ||
        ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~OpenVolume() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenVolume(const OpenVolume&) = delete;
  OpenVolume& operator=(const OpenVolume&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::int64_t RawVolumeSize(const std::string& drive) {
  OpenVolume volume(drive);
  if (volume.fd() < 0) return -1;
  struct stat info {};
  if (::fstat(volume.fd(), &info) != 0) return -1;
  if (S_ISREG(info.st_mode)) return static_cast<std::int64_t>(info.st_size);
  if (!S_ISBLK(info.st_mode)) return -1;
  std::uint64_t bytes = 0;
#if defined(BLKGETSIZE64)
  if (::ioctl(volume.fd(), BLKGETSIZE64, &bytes) != 0) return -1;
#else
  const off_t end = ::lseek(volume.fd(), 0, SEEK_END);
  if (end < 0) return -1;
  bytes = static_cast<std::uint64_t>(end);
#endif
  return bytes == 0 ? -1 : static_cast<std::int64_t>(bytes);
}

std::int64_t ReadRawVolume(const std::string& drive, std::int64_t offset, void* buffer, std::int64_t length) {
  if (offset < 0 || length < 0) return -1;
  OpenVolume volume(drive);
  if (volume.fd() < 0) return -1;
  auto* out = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < length) {
    const ssize_t got = ::pread(volume.fd(), out + done, static_cast<size_t>(length - done), offset + done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace rsf::platform
