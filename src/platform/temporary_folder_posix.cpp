// The temporary folder from TMPDIR, and the free space through statvfs (the blocks available
// to unprivileged users, not those kept back for root).
#include <sys/statvfs.h>

#include <cstdlib>
#include <limits>

#include "platform/temporary_folder.h"

namespace rsf::platform {

std::string TemporaryFolder() {
  const char* chosen = std::getenv("TMPDIR");
  std::string folder = chosen != nullptr && *chosen != '\0' ? chosen : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::int64_t FreeDiskSpace(const std::string& folder) {
  struct statvfs info {};
  if (folder.empty() || ::statvfs(folder.c_str(), &info) != 0) return -1;
  const auto block = static_cast<unsigned long long>(info.f_frsize != 0 ? info.f_frsize : info.f_bsize);
  const auto blocks = static_cast<unsigned long long>(info.f_bavail);
  constexpr auto kMost = static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
  if (block != 0 && blocks > kMost / block) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(blocks * block);
}

}  // namespace rsf::platform
