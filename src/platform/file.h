// Operating-system files: a source opened read-only with read sharing, and new files that are
// created only where no file, folder or link has the name yet. Each platform has its own
// implementation file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace rsf::platform {

class File {
 public:
  // Opens `path` for reading: a regular file or a block device (a drive, a disc image's
  // device). Anything else (a folder, a named pipe, a socket, a terminal) is refused at once,
  // never waited on. Other programs may read the file but not write it while it is open
  // (where the platform can express that). Raises FileOpenError with the reason.
  static std::unique_ptr<File> OpenReadShared(const std::string& path);
  // Who may read a new file: its owner alone (private copies), or whom the user's file-creation
  // mask allows, as for any file a program saves for the user.
  enum class Access { kOwnerOnly, kAsUserMaskAllows };
  // Creates `path` for reading and writing, provided nothing has that name yet: a link planted
  // under the name is never followed. Null when the name is taken; raises FileCreateError with
  // the reason for any other failure.
  static std::unique_ptr<File> CreateNew(const std::string& path, Access access = Access::kOwnerOnly);

  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Current size of the file in bytes, or -1 when it cannot be asked.
  std::int64_t Size() const;
  // Reads up to `count` bytes at `offset`; returns how many arrived, or -1 on failure.
  std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count);
  // Appends up to `count` bytes at the end of what was written; returns how many were stored.
  std::int64_t Write(const void* buffer, std::int64_t count);
  // Brings what was written to the storage; false when the file system reports that it could
  // not keep it (a full disk of delayed allocation shows here, not at the write).
  bool Flush();
  // Closes the file; true when everything written reached the file system.
  bool Close();
  // Whether `path` names this very file itself (not a link to it, not a copy).
  bool IsNamed(const std::string& path) const;

 private:
  explicit File(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_;
};

// Gives the file `from` the name `to` in one step, replacing what `to` named before (a link
// under that name is replaced, never followed). Both names lie in one folder. Returns an empty
// text on success, otherwise the reason.
std::string RenameReplacing(const std::string& from, const std::string& to);

// True when `path` names something that exists (a file, a folder, a device).
bool FileExists(const std::string& path);

// Removes the file (or link) `path`; true when it is gone.
bool RemoveFile(const std::string& path);

// Creates a new folder inside `parent` (which ends with the path delimiter), named `stem` and
// random characters, that only the user may enter. Returns its path with the delimiter at the
// end; raises FileCreateError with the reason.
std::string CreatePrivateFolder(const std::string& parent, const std::string& stem);

// Removes the folder `path` when it is empty; true when it is gone.
bool RemoveEmptyFolder(const std::string& path);

// The folder part of `path` with its delimiter ("" for a bare name: the current folder).
std::string FolderOf(const std::string& path);

}  // namespace rsf::platform
