// The system's known folders on Windows (SHGetKnownFolderPath): where it keeps installed
// programs and where the user's documents go. Paths are UTF-8, as everywhere in the program.
#pragma once

#include <windows.h>

#include <string>

namespace rsf::platform {

// The known folder `id` (a FOLDERID_... of <knownfolders.h>), ending with the path delimiter;
// empty when the system names none or the folder does not exist.
std::string KnownFolder(const GUID& id);

// Whether `path` is `folder` or lies inside it, compared as Windows compares file names (letters
// without case, "/" as "\").
bool InsideFolder(const std::string& path, const std::string& folder);

}  // namespace rsf::platform
