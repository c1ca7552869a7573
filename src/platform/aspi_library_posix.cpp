// The ASPI library on POSIX systems: a shared object opened with dlopen, which counts the
// references and keeps one copy, like LoadLibraryA does.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/aspi_library.h"
#include "platform/system_info.h"

namespace rsf::platform {
namespace {

constexpr const char* kProviderName = "libwnaspi32.so";

}  // namespace

// RSFX_ASPI_LIBRARY names any provider; otherwise the program's library folder has the
// SCSI-generic one, and a copy beside the program file is taken when there is none there.
std::string AspiLibraryName() {
  const char* chosen = std::getenv("RSFX_ASPI_LIBRARY");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  const std::string installed = ProgramLibraryFolder() + kProviderName;
  if (::access(installed.c_str(), F_OK) == 0) return installed;
  return ProgramFolder() + kProviderName;
}

// The name is always a path here.
std::string AspiLibraryPath() { return AspiLibraryName(); }

void* LoadLibraryByName(const std::string& name) { return ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* LibraryEntryPoint(void* library, const char* entry) { return ::dlsym(library, entry); }

}  // namespace rsf::platform
