// The program run's private folder inside the system's temporary folder.
#include "desktop/temporary_folder.h"

#include "base/errors.h"
#include "platform/file.h"
#include "platform/temporary_folder.h"

namespace rsf::desktop {
namespace {

constexpr const char* kPrivateFolderStem = "rsf-extractor-";

}  // namespace

std::string PlatformTemporaryFolder::Path() {
  if (private_folder_.empty()) private_folder_ = platform::CreatePrivateFolder(platform::TemporaryFolder(), kPrivateFolderStem);
  return private_folder_;
}

std::int64_t PlatformTemporaryFolder::FreeBytes() {
  const std::string folder = platform::TemporaryFolder();
  const std::int64_t free_bytes = platform::FreeDiskSpace(folder);
  if (free_bytes < 0) throw Error("不能访问临时目录 " + folder);
  return free_bytes;
}

void PlatformTemporaryFolder::Release() {
  if (!private_folder_.empty() && platform::RemoveEmptyFolder(private_folder_)) private_folder_.clear();
}

}  // namespace rsf::desktop
