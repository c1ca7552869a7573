// BasicASPI: the SCSI requests the CD access makes through ASPI (sector reads, capacity,
// device type, inquiry) and TCDStream, a whole CD in an ASPI device as one read-only stream.
// Failures show as result values, never as errors.
#pragma once

#include <cstdint>
#include <string>

#include "base/bytes.h"
#include "stream/source_stream.h"

namespace rsf {

// How long each request waits for the drive.
inline constexpr std::uint32_t kReadSectorsWaitMs = 25000;
inline constexpr std::uint32_t kBlockLengthWaitMs = 1000;
inline constexpr std::uint32_t kLastBlockWaitMs = 3000;
inline constexpr std::uint32_t kInquiryWaitMs = 10000;

// Reads `count` sectors of 2048 bytes from `first_block` on into `buffer` (count × 2048 bytes)
// with SCSI READ(10). Returns true when the read FAILED.
bool AspiReadSectors(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun, std::uint32_t first_block,
                     void* buffer, std::uint16_t count);
// The block length from READ CAPACITY, 0 on any failure.
std::uint32_t AspiBlockLength(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun);
// The address of the last logical block from READ CAPACITY, 0 on any failure.
std::uint32_t AspiLastBlock(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun);
// The peripheral device type (5 = CD-ROM); 255 no such host adapter, 250 no such device, 240
// any other refusal.
std::uint8_t AspiDeviceType(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun);
// Bytes 8 to 35 of the INQUIRY data (vendor, product, revision: 28 characters, zero bytes
// kept as characters), or an empty text when the request was refused or timed out.
std::string AspiInquiryText(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun);
// One character per byte; with `zero_as_dot` every zero byte becomes ".".
std::string BytesToText(Bytes bytes, bool zero_as_dot);

// A CD in an ASPI device as a read-only stream: byte n is byte n mod 2048 of logical block
// n div 2048. The size is fixed when the stream is made: block length × last block address −
// 4096 (the last block and the 4096 bytes before it stay outside the stream), −1 when block 16
// cannot be read (no readable data disc) or when the capacity is too large for a stream to
// address, −4096 when the capacity cannot be asked.
class TCDStream final : public SourceStream {
 public:
  TCDStream(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun);

  std::int64_t Size() const override { return size_; }
  std::int64_t Position() const override { return position_; }
  using SourceStream::Seek;
  // Origin 2 counts a positive offset back from the end (Size − offset).
  std::int64_t Seek(std::int64_t offset, int origin) override;
  // The whole count or −1 (the position then stays); one drive request per 65,535 sectors.
  std::int64_t Read(void* buffer, std::int64_t count) override;
  // The stream is read-only: nothing is written.
  std::int64_t Write(const void* buffer, std::int64_t count);

  std::uint8_t HostAdapter() const { return host_adapter_; }
  std::uint8_t Target() const { return target_; }
  std::uint8_t Lun() const { return lun_; }

 private:
  std::uint8_t host_adapter_;
  std::uint8_t target_;
  std::uint8_t lun_;
  std::int64_t position_ = 0;
  std::int64_t size_ = -1;
};

}  // namespace rsf
