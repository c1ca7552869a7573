// The ASPI library on Windows: wnaspi32.dll through LoadLibraryA and GetProcAddress, found by the
// system's search order (the program's folder first). RSFX_ASPI_LIBRARY may name another file
// instead, as on POSIX systems, so a test can load a provider built elsewhere. Module handles
// below 32 are error codes from the older loaders and count as no library.
#include <windows.h>

#include <cstdint>
#include <cstdlib>

#include "platform/aspi_library.h"
#include "platform/code_page_win32.h"

namespace rsf::platform {

std::string AspiLibraryName() {
  const char* chosen = std::getenv("RSFX_ASPI_LIBRARY");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  return "wnaspi32.dll";
}

// SearchPathA without a folder list searches the program's folder first, then the current
// folder, the system folders and PATH: the folders LoadLibraryA searches.
std::string AspiLibraryPath() {
  const std::string name = AspiLibraryName();
  const std::string system_name = ToAnsiCodePage(name);
  if (system_name.empty()) return name;
  std::string path(MAX_PATH, '\0');
  const auto search = [&] {
    return ::SearchPathA(nullptr, system_name.c_str(), nullptr, static_cast<DWORD>(path.size()), path.data(), nullptr);
  };
  DWORD length = search();
  if (length >= path.size()) {  // too small: the length asked for counts the terminating zero
    path.assign(length, '\0');
    length = search();
  }
  if (length == 0 || length >= path.size()) return name;
  path.resize(length);
  return FromAnsiCodePage(path);
}

void* LoadLibraryByName(const std::string& name) {
  const std::string system_name = ToAnsiCodePage(name);
  if (system_name.empty()) return nullptr;
  HMODULE module = ::LoadLibraryA(system_name.c_str());
  if (reinterpret_cast<std::uintptr_t>(module) < 32) return nullptr;
  return reinterpret_cast<void*>(module);
}

void* LibraryEntryPoint(void* library, const char* entry) {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), entry));
}

}  // namespace rsf::platform
