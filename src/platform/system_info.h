// Facts about the system the program runs on that the window reads once at start: which way a
// CD is read, the folder the program file lives in, and the program's own folders beside it.
#pragma once

#include <string>

namespace rsf::platform {

// True when CDs are read through the system's raw device of a drive rather than through the
// ASPI layer: the fact behind NTDeviceMode (cd/cd_mode.h), which the window reads once at its
// creation.
bool RawCdDeviceAccess();

// The folder of the running program file, ending with the path delimiter; empty when the
// system cannot tell.
std::string ProgramFolder();

// The folders of the program's own libraries (the ASPI providers) and data (the user guide),
// ending with the path delimiter. They stand where they are installed relative to the program
// folder (the build keeps the same layout), e.g. /usr/bin → /usr/lib/<arch>/rsf-extractor/
// and /usr/share/rsf-extractor/.
std::string ProgramLibraryFolder();
std::string ProgramDataFolder();

// Whether the user may create files in `folder`.
bool FolderWritable(const std::string& folder);

// Whether `folder` suits the clips a user extracts by default: writable, and not a folder the
// system keeps installed programs in (/usr/..., /opt/..., /bin/, /sbin/; on Windows the program
// files folders, the user's own included, and the Windows folder), which the user may write to
// but nobody wants clips in.
bool TakesUserFiles(const std::string& folder);

}  // namespace rsf::platform
