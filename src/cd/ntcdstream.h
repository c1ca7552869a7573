// ntcdstream: TNTCDStream, the volume in a CD drive read through the system's raw device of
// the drive as one read-only stream (byte n is byte n mod 2048 of sector n div 2048), with
// the two device operations it is built on.
#pragma once

#include <cstdint>
#include <string>

#include "stream/source_stream.h"

namespace rsf {

// Byte size of the volume in `drive`; −1 when it cannot be queried (no disc, no such drive).
std::int64_t NtVolumeSize(const std::string& drive);

// Reads `count` sectors from `first_sector` on into `buffer` (count × 2048 bytes), opening,
// positioning, reading and closing the device. Returns 0 on success, 1 on failure. Where the
// volume ends inside the last sector, the rest of that sector comes back as zero bytes.
int NtReadSectors(const std::string& drive, std::uint32_t first_sector, void* buffer, std::uint16_t count);

class TNTCDStream final : public SourceStream {
 public:
  // `drive` as the CD drive list names it; the size is taken now and never changes.
  explicit TNTCDStream(std::string drive);

  std::int64_t Size() const override { return size_; }
  std::int64_t Position() const override { return position_; }
  using SourceStream::Seek;
  // Origin 2 counts a positive offset back from the end (Size − offset).
  std::int64_t Seek(std::int64_t offset, int origin) override;
  // The whole count or −1 (the position then stays). The stream holds exactly the volume's
  // bytes: a read reaching past the end fails, and no sector beyond the end is asked for.
  std::int64_t Read(void* buffer, std::int64_t count) override;
  // The stream is read-only: nothing is written.
  std::int64_t Write(const void* buffer, std::int64_t count);

  const std::string& Drive() const { return drive_; }

 private:
  std::string drive_;
  std::int64_t position_ = 0;
  std::int64_t size_ = -1;
};

}  // namespace rsf
