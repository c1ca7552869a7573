// POSIX systems read CDs through the block device of the drive; RSFX_CD_ACCESS=aspi asks for
// the ASPI-style access instead (useful to exercise that path). The program folder comes from
// /proc/self/exe.
#include <unistd.h>

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

namespace {

// The folder `relative` (to the program folder, set by the build) as a path of its own.
std::string BesideProgram(const char* relative) {
  const std::string program = ProgramFolder();
  if (program.empty()) return {};
  std::error_code error;
  std::string folder = std::filesystem::weakly_canonical(std::filesystem::path(program) / relative, error).string();
  if (error || folder.empty()) return program;
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::string ProgramLibraryFolder() { return BesideProgram(RSF_LIBRARY_FOLDER_FROM_PROGRAM); }

std::string ProgramDataFolder() { return BesideProgram(RSF_DATA_FOLDER_FROM_PROGRAM); }

bool FolderWritable(const std::string& folder) {
  return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool TakesUserFiles(const std::string& folder) {
  const std::string_view path = folder;
  for (const std::string_view system : {"/usr/", "/opt/", "/bin/", "/sbin/"})
    if (path.substr(0, system.size()) == system) return false;
  return FolderWritable(folder);
}

}  // namespace rsf::platform
