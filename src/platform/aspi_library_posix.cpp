// The ASPI library on POSIX systems: a shared object opened with dlopen, which counts the
// references and keeps one copy, like LoadLibraryA does.
#include <dlfcn.h>

#include <cstdlib>

#include "platform/aspi_library.h"
#include "platform/system_info.h"

namespace rsf::platform {

std::string AspiLibraryName() {
  const char* chosen = std::getenv("RSFX_ASPI_LIBRARY");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  return ProgramFolder() + "libwnaspi32.so";
}

void* LoadLibraryByName(const std::string& name) { return ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* LibraryEntryPoint(void* library, const char* entry) { return ::dlsym(library, entry); }

}  // namespace rsf::platform
