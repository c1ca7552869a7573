// The system's temporary folder through the platform layer.
#include "ui/temporary_folder.h"

#include "base/errors.h"
#include "platform/temporary_folder.h"

namespace rsf::ui {

std::string PlatformTemporaryFolder::Path() { return platform::TemporaryFolder(); }

std::int64_t PlatformTemporaryFolder::FreeBytes() {
  const std::string folder = Path();
  const std::int64_t free_bytes = platform::FreeDiskSpace(folder);
  if (free_bytes < 0) throw Error("不能访问临时目录 " + folder);
  return free_bytes;
}

}  // namespace rsf::ui
