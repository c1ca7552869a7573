// The two CRC-32 variants that clip formats check their pieces with: the reflected one of zlib
// and PNG chunks, and the unreflected one of Ogg pages (same polynomial, no final inversion).
#pragma once

#include <cstdint>

#include "base/bytes.h"

namespace rsf {

// PNG and zlib: polynomial 0xEDB88320 (reflected), starting from 0 and carried on by passing
// the previous result as `crc`.
std::uint32_t Crc32(Bytes bytes, std::uint32_t crc = 0);

// Ogg: polynomial 0x04C11DB7 (unreflected), initial value 0, no final inversion; carried on by
// passing the previous result.
std::uint32_t OggCrc32(Bytes bytes, std::uint32_t crc = 0);

}  // namespace rsf
