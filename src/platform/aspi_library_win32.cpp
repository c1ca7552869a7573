// The ASPI library on Windows: wnaspi32.dll through LoadLibraryA and GetProcAddress. Module
// handles below 32 are error codes from the older loaders and count as no library.
#include <windows.h>

#include <cstdint>

#include "platform/aspi_library.h"

namespace rsf::platform {

std::string AspiLibraryName() { return "wnaspi32.dll"; }

void* LoadLibraryByName(const std::string& name) {
  HMODULE module = ::LoadLibraryA(name.c_str());
  if (reinterpret_cast<std::uintptr_t>(module) < 32) return nullptr;
  return reinterpret_cast<void*>(module);
}

void* LibraryEntryPoint(void* library, const char* entry) {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), entry));
}

}  // namespace rsf::platform
