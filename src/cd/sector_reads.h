// The read arithmetic both CD streams share. A read of `count` bytes at `position` covers
// sectors f = position div 2048 to l = (position + count) div 2048, n = l − f + 1 of them,
// starting at byte o = position − f × 2048 of the first: when the bytes end on a sector
// boundary, n holds one sector more than they need. Sector counts travel as 16-bit numbers,
// so a longer read goes to the device in pieces of at most 65,535 sectors.
#pragma once

#include <cstdint>
#include <functional>

namespace rsf {

inline constexpr std::int64_t kCdSectorSize = 2048;
inline constexpr std::int64_t kMaxSectorsPerRequest = 65535;

struct SectorSpan {
  std::int64_t first = 0;   // f
  std::int64_t count = 0;   // n
  std::int64_t offset = 0;  // o
};

// The span of `count` > 0 bytes at `position` >= 0.
SectorSpan SpanOfBytes(std::int64_t position, std::int64_t count);

// Reads `count` sectors from `first` on into `buffer` (count sectors long); false as soon as
// one request fails.
using SectorReader = std::function<bool(std::int64_t first, std::uint16_t count, std::uint8_t* into)>;

// The read of both streams: `count` bytes at `position` into `buffer`, through a temporary
// buffer of whole sectors. `sector_limit` (when not negative) is the number of sectors the
// medium has: the span is trimmed so that it asks for none beyond it that the bytes do not
// need. True when every request succeeded and the bytes were copied.
bool ReadBytesThroughSectors(std::int64_t position, std::int64_t count, void* buffer, std::int64_t sector_limit,
                             const SectorReader& read_sectors);

}  // namespace rsf
