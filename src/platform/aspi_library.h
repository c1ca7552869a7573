// Where the ASPI library comes from and how its entry points are reached. The library is
// loaded by name at run time and never released; loading it again gives the copy already
// in the process.
#pragma once

#include <string>

namespace rsf::platform {

// The name the ASPI library is loaded by: "wnaspi32.dll" on Windows; elsewhere the path in
// the environment variable RSFX_ASPI_LIBRARY, or libwnaspi32.so in the program's folder.
std::string AspiLibraryName();

// Loads the library `name`; null when there is none.
void* LoadLibraryByName(const std::string& name);
// The address of the exported function `entry`, or null.
void* LibraryEntryPoint(void* library, const char* entry);

}  // namespace rsf::platform
