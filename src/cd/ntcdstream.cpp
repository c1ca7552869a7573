// TNTCDStream and its device operations over the platform's raw volume access.
#include "cd/ntcdstream.h"

#include <cstring>
#include <limits>
#include <vector>

#include "cd/sector_reads.h"
#include "platform/raw_volume.h"

namespace rsf {

std::int64_t NtVolumeSize(const std::string& drive) { return platform::RawVolumeSize(drive); }

int NtReadSectors(const std::string& drive, std::uint32_t first_sector, void* buffer, std::uint16_t count) {
  const std::int64_t length = static_cast<std::int64_t>(count) * kCdSectorSize;
  std::vector<std::uint8_t> transfer(static_cast<std::size_t>(length));
  const std::int64_t got =
      platform::ReadRawVolume(drive, static_cast<std::int64_t>(first_sector) * kCdSectorSize, transfer.data(), length);
  if (got < 0 || (got == 0 && length > 0)) return 1;
  std::memcpy(buffer, transfer.data(), transfer.size());
  return 0;
}

TNTCDStream::TNTCDStream(std::string drive) : drive_(std::move(drive)), size_(NtVolumeSize(drive_)) {}

std::int64_t TNTCDStream::Seek(std::int64_t offset, int origin) {
  return SeekStreamPosition(position_, offset, origin, [this] { return size_; }, true);
}

std::int64_t TNTCDStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (size_ < 0 || position_ < 0 || count > size_ - position_) return -1;
  const std::int64_t sectors_in_volume = (size_ + kCdSectorSize - 1) / kCdSectorSize;
  const bool read = ReadBytesThroughSectors(
      position_, count, buffer, sectors_in_volume, [this](std::int64_t first, std::uint16_t sectors, std::uint8_t* into) {
        if (first > std::numeric_limits<std::uint32_t>::max()) return false;
        return NtReadSectors(drive_, static_cast<std::uint32_t>(first), into, sectors) == 0;
      });
  if (!read) return -1;
  position_ += count;
  return count;
}

std::int64_t TNTCDStream::Write(const void*, std::int64_t) { return -1; }

}  // namespace rsf
