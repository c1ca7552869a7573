// Operating-system files: a source opened read-only with read sharing, a target created with
// exclusive access. Each platform has its own implementation file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace rsf::platform {

class File {
 public:
  // Opens `path` for reading; other programs may read the file but not write it while it is
  // open (where the platform can express that). Raises FileOpenError.
  static std::unique_ptr<File> OpenReadShared(const std::string& path);
  // Creates `path` for reading and writing with no sharing, replacing an existing file.
  // Raises FileCreateError.
  static std::unique_ptr<File> CreateExclusive(const std::string& path);

  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Current size of the file in bytes, or -1 when it cannot be asked.
  std::int64_t Size() const;
  // Reads up to `count` bytes at `offset`; returns how many arrived, or -1 on failure.
  std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count);
  // Appends up to `count` bytes at the end of what was written; returns how many were stored.
  std::int64_t Write(const void* buffer, std::int64_t count);
  // Closes the file; true when everything written reached the file system.
  bool Close();

 private:
  explicit File(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_;
};

}  // namespace rsf::platform
