// The temporary clip copies that playback leaves behind: their names, and their deletion when
// the window closes, where a copy that cannot be deleted (still open in a player) asks retry
// or ignore.
#pragma once

#include <string>
#include <vector>

namespace rsf::desktop {

class MessageBoxes;

inline constexpr int kHighestCopyNumber = 65534;

// folder + "RSFtmp" + `number` as four upper-case hexadecimal digits + extension (with its
// dot). `folder` ends with the path delimiter.
std::string TemporaryClipName(const std::string& folder, int number, const std::string& extension);

// A number from 0 to 65534 from the system's random source, so that nobody can foresee the
// names of the copies.
int RandomCopyNumber();

// Deleting files, behind an interface so that tests can hold a file "locked".
class FileDeleter {
 public:
  virtual ~FileDeleter() = default;
  virtual bool Delete(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
};

class PlatformFileDeleter final : public FileDeleter {
 public:
  bool Delete(const std::string& path) override;
  bool Exists(const std::string& path) override;
};

// "不能删除临时文件 "<path>" !"
std::string CannotDeleteText(const std::string& path);

// Deletes every path, first to last. On failure asks retry or ignore; a retry deletes again
// while the file still exists and asks again when that fails too.
void DeleteTemporaryFiles(const std::vector<std::string>& paths, FileDeleter& deleter, MessageBoxes& boxes);

}  // namespace rsf::desktop
