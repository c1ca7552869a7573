// The system's folder for temporary files, and the room left on the file system that holds a
// folder. Playback copies a clip there before it opens it.
#pragma once

#include <cstdint>
#include <string>

namespace rsf::platform {

// The temporary folder, ending with the path delimiter: $TMPDIR (or /tmp) on POSIX systems,
// what GetTempPathA reports on Windows.
std::string TemporaryFolder();

// Bytes that the user may still write on the file system of `folder`; -1 when the folder
// cannot be reached.
std::int64_t FreeDiskSpace(const std::string& folder);

}  // namespace rsf::platform
