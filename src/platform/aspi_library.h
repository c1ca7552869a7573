// Where the ASPI library comes from and how its entry points are reached. The library is
// loaded by name at run time and never released; loading it again gives the copy already
// in the process.
#pragma once

#include <string>

namespace rsf::platform {

// The name the ASPI library is loaded by: "wnaspi32.dll" on Windows; elsewhere the path in
// the environment variable RSFX_ASPI_LIBRARY, or libwnaspi32.so in the program's folder.
std::string AspiLibraryName();
// The file that name loads: the name itself where it is a path; on Windows a bare name is looked
// up in the folders the system loads libraries from, the program's folder first (the name stays
// bare when none holds it).
std::string AspiLibraryPath();

// Loads the library `name`; null when there is none.
void* LoadLibraryByName(const std::string& name);
// The address of the exported function `entry`, or null.
void* LibraryEntryPoint(void* library, const char* entry);

}  // namespace rsf::platform
