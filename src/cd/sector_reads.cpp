// Byte reads as sector requests, split into pieces the 16-bit sector count can express.
#include "cd/sector_reads.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace rsf {

SectorSpan SpanOfBytes(std::int64_t position, std::int64_t count) {
  SectorSpan span;
  span.first = position / kCdSectorSize;
  const std::int64_t last = (position + count) / kCdSectorSize;
  span.count = last - span.first + 1;
  span.offset = position - span.first * kCdSectorSize;
  return span;
}

bool ReadBytesThroughSectors(std::int64_t position, std::int64_t count, void* buffer, std::int64_t sector_limit,
                             const SectorReader& read_sectors) {
  // Bytes beyond the 64-bit range lie on no medium.
  if (position < 0 || count <= 0 || position > std::numeric_limits<std::int64_t>::max() - count) return false;
  SectorSpan span = SpanOfBytes(position, count);
  if (sector_limit >= 0) {
    const std::int64_t needed = (position + count - 1) / kCdSectorSize - span.first + 1;
    span.count = std::max(needed, std::min(span.count, sector_limit - span.first));
  }
  std::vector<std::uint8_t> sectors(static_cast<std::size_t>(span.count * kCdSectorSize));
  for (std::int64_t done = 0; done < span.count;) {
    const std::int64_t piece = std::min(kMaxSectorsPerRequest, span.count - done);
    if (!read_sectors(span.first + done, static_cast<std::uint16_t>(piece),
                      sectors.data() + static_cast<std::size_t>(done * kCdSectorSize)))
      return false;
    done += piece;
  }
  std::memcpy(buffer, sectors.data() + span.offset, static_cast<std::size_t>(count));
  return true;
}

}  // namespace rsf
