// Windows: CDs are read through the raw device ("\\.\D:") on the NT family and through ASPI on
// the 9x family, told apart by GetVersionExA (platform id 2 is NT). RSFX_CD_ACCESS=aspi asks
// for ASPI everywhere, as on POSIX systems. The program folder comes from GetModuleFileNameA,
// handed on in UTF-8; the folders that take no user files are the system's known program
// folders.
#include <windows.h>
#include <knownfolders.h>

#include <cstdlib>
#include <string_view>

#include "platform/code_page_win32.h"
#include "platform/known_folders_win32.h"
#include "platform/system_info.h"

namespace rsf::platform {
namespace {

// The size of OSVERSIONINFOA: the call fills exactly the fields that size announces.
constexpr DWORD kVersionInfoSize = 148;
static_assert(sizeof(OSVERSIONINFOA) == kVersionInfoSize);
constexpr DWORD kPlatformNt = 2;
static_assert(kPlatformNt == VER_PLATFORM_WIN32_NT);

bool NtFamily() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = kVersionInfoSize;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExA(&version)) return true;  // every system that lacks an answer is NT-based
#pragma GCC diagnostic pop
  return version.dwPlatformId == kPlatformNt;
}

// Where programs installed for one user go: FOLDERID_UserProgramFiles, which Windows 7 brought
// (Vista names none, nor does Wine 8), is %LOCALAPPDATA%\Programs unless redirected.
std::string UserProgramFolder() {
  const std::string folder = KnownFolder(FOLDERID_UserProgramFiles);
  if (!folder.empty()) return folder;
  const std::string local = KnownFolder(FOLDERID_LocalAppData);
  return local.empty() ? std::string() : local + "Programs\\";
}

}  // namespace

bool RawCdDeviceAccess() {
  const char* access = std::getenv("RSFX_CD_ACCESS");
  if (access != nullptr && std::string_view(access) == "aspi") return false;
  return NtFamily();
}

std::string ProgramFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return {};  // the longest path Windows knows; never truncated further
    path.resize(path.size() * 2);
  }
  const auto delimiter = path.find_last_of("\\/");
  if (delimiter == std::string::npos) return {};
  path.resize(delimiter);
  path += '\\';
  return FromAnsiCodePage(path);
}

// Windows keeps the program's libraries and data in the program's own folder.
std::string ProgramLibraryFolder() { return ProgramFolder(); }

std::string ProgramDataFolder() { return ProgramFolder(); }

bool FolderWritable(const std::string& folder) {
  const std::string system_folder = ToAnsiCodePage(folder);
  if (system_folder.empty()) return false;
  const DWORD attributes = ::GetFileAttributesA(system_folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

// The folders Windows installs programs into, for all users and for one, and its own folder: a
// user who may write there still wants no clips among the program files.
bool TakesUserFiles(const std::string& folder) {
  const std::string program_folders[] = {KnownFolder(FOLDERID_ProgramFiles), KnownFolder(FOLDERID_ProgramFilesX86),
                                         UserProgramFolder(), KnownFolder(FOLDERID_Windows)};
  for (const std::string& programs : program_folders)
    if (!programs.empty() && InsideFolder(folder, programs)) return false;
  return FolderWritable(folder);
}

}  // namespace rsf::platform
