// The raw volume of a CD drive, read the way the NT device access reads it: the device is
// opened, positioned, read and closed again for every read. A drive is named as the system's
// CD drive list names it ("d:" on Windows, a device path such as /dev/sr0 elsewhere, where a
// regular file such as a disc image works the same way).
#pragma once

#include <cstdint>
#include <string>

namespace rsf::platform {

// Byte size of the volume in `drive`; -1 when it cannot be queried (no disc, no such drive).
std::int64_t RawVolumeSize(const std::string& drive);

// Reads `length` bytes at byte `offset` of the volume. Returns how many bytes arrived (fewer
// only where the volume ends), or -1 when opening, positioning or reading failed.
std::int64_t ReadRawVolume(const std::string& drive, std::int64_t offset, void* buffer, std::int64_t length);

}  // namespace rsf::platform
