// POSIX systems read CDs through the block device of the drive; RSFX_CD_ACCESS=aspi asks for
// the ASPI-style access instead (useful to exercise that path). The program folder comes from
// /proc/self/exe.
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/system_info.h"

namespace rsf::platform {

bool RawCdDeviceAccess() {
  const char* access = std::getenv("RSFX_CD_ACCESS");
  return access == nullptr || std::string_view(access) != "aspi";
}

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !program.has_parent_path()) return {};
  std::string folder = program.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace rsf::platform
