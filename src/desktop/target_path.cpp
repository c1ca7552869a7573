// Splitting the target path.
#include "desktop/target_path.h"

namespace rsf::desktop {

std::string TargetPrefix(std::string_view path, std::string_view delimiters) {
  const std::size_t folder_end = path.find_last_of(delimiters);
  const std::size_t name_start = folder_end == std::string_view::npos ? 0 : folder_end + 1;
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < name_start) return std::string(path);
  return std::string(path.substr(0, dot));
}

}  // namespace rsf::desktop
