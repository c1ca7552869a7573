// TCDStream: probes block 16, takes its size from READ CAPACITY, and serves byte reads as
// READ(10) requests of whole sectors.
#include <limits>

#include "cd/BasicASPI.h"
#include "cd/sector_reads.h"

namespace rsf {

TCDStream::TCDStream(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun)
    : host_adapter_(host_adapter), target_(target), lun_(lun) {
  // Block 16 holds the volume descriptors of a data disc: no answer, no readable disc.
  std::uint8_t probe[kCdSectorSize];
  if (AspiReadSectors(host_adapter_, target_, lun_, 16, probe, 1)) {
    size_ = -1;
    return;
  }
  const std::uint64_t block_length = AspiBlockLength(host_adapter_, target_, lun_);
  const std::uint64_t last_block = AspiLastBlock(host_adapter_, target_, lun_);
  // Two 32-bit fields multiply to at most 64 bits. A drive that answers with a capacity beyond
  // what a stream can address has no disc worth reading.
  const std::uint64_t bytes = block_length * last_block;
  size_ = bytes > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) ? -1
                                                                                      : static_cast<std::int64_t>(bytes) - 4096;
}

std::int64_t TCDStream::Seek(std::int64_t offset, int origin) {
  return SeekStreamPosition(position_, offset, origin, [this] { return size_; }, true);
}

std::int64_t TCDStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const bool read = ReadBytesThroughSectors(
      position_, count, buffer, -1, [this](std::int64_t first, std::uint16_t sectors, std::uint8_t* into) {
        if (first > std::numeric_limits<std::uint32_t>::max()) return false;
        return !AspiReadSectors(host_adapter_, target_, lun_, static_cast<std::uint32_t>(first), into, sectors);
      });
  if (!read) return -1;
  position_ += count;
  return count;
}

std::int64_t TCDStream::Write(const void*, std::int64_t) { return -1; }

}  // namespace rsf
