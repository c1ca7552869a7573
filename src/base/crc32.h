// The CRC-32 variants the program checks pieces with: the reflected one of zlib and PNG chunks,
// the unreflected one of Ogg pages (same polynomial, no final inversion), and the error
// detection code of CD data sectors.
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

// CD sectors' EDC (ECMA-130 Annex D): polynomial 0x8001801B (x^32 + x^31 + x^16 + x^15 + x^4 +
// x^3 + x + 1) taken reflected, initial value 0, no final inversion; stored little-endian.
std::uint32_t CdEdc(Bytes bytes, std::uint32_t crc = 0);

}  // namespace rsf
