// SCSI commands on a disc-image file. The image is opened for every command, so a test may
// replace it between requests; its size in sectors is rounded up, the missing bytes of a
// partial last sector read as zeros.
#include "aspi/image_answers.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "aspi/provider_support.h"
#include "base/bytes.h"
#include "aspi_abi/scsidefs.h"

namespace rsf::aspi {
namespace {

constexpr std::uint8_t kAscInvalidOperation = 0x20;
constexpr std::uint8_t kAscLbaOutOfRange = 0x21;
constexpr std::uint8_t kAscInvalidField = 0x24;
constexpr std::uint8_t kAscUnrecoveredRead = 0x11;
constexpr std::uint8_t kAscNoMedium = 0x3A;

Bytes Cdb(const ExecScsiBlock& block) { return Bytes(block.cdb, std::min<std::size_t>(block.cdb_length, sizeof block.cdb)); }

std::uint8_t* Data(const ExecScsiBlock& block) { return reinterpret_cast<std::uint8_t*>(block.data_buffer); }

// Number of 2048-byte blocks of the disc, or nullopt when the drive has no disc.
std::optional<std::uint64_t> DiscBlocks(const ImageDevice& device) {
  if (device.path.empty()) return std::nullopt;
  std::error_code error;
  const std::uint64_t bytes = std::filesystem::file_size(device.path, error);
  if (error) return std::nullopt;
  return (bytes + kSectorSize - 1) / kSectorSize;
}

std::uint8_t Fail(ExecScsiBlock& block, std::uint8_t key, std::uint8_t code) {
  SetCheckCondition(block, key, code);
  return kStatusError;
}

std::uint8_t Inquiry(ExecScsiBlock& block) {
  std::uint8_t answer[kInquiryLength] = {};
  answer[0] = kDeviceTypeCdRom;
  answer[1] = 0x80;  // removable medium
  answer[2] = 0x02;  // SCSI-2
  answer[3] = 0x02;  // response data format
  answer[4] = kInquiryLength - 5;
  std::memcpy(answer + 8, kImageVendor, 8);
  std::memcpy(answer + 16, kImageProduct, 16);
  std::memcpy(answer + 32, kImageRevision, 4);
  const std::size_t allocation = Cdb(block).size() > 4 ? Cdb(block)[4] : 0;
  std::memcpy(Data(block), answer, std::min<std::size_t>({allocation, block.data_length, sizeof answer}));
  return kStatusCompleted;
}

std::uint8_t ReadCapacity(const ImageDevice& device, ExecScsiBlock& block) {
  const auto blocks = DiscBlocks(device);
  if (!blocks) return Fail(block, kSenseNotReady, kAscNoMedium);
  if (block.data_length < kReadCapacityLength || *blocks == 0) return Fail(block, kSenseIllegalRequest, kAscInvalidField);
  const std::uint64_t last = std::min<std::uint64_t>(*blocks - 1, 0xFFFFFFFFu);
  const std::uint8_t answer[kReadCapacityLength] = {
      static_cast<std::uint8_t>(last >> 24), static_cast<std::uint8_t>(last >> 16),
      static_cast<std::uint8_t>(last >> 8),  static_cast<std::uint8_t>(last),
      0, 0, static_cast<std::uint8_t>(kSectorSize >> 8), 0};
  std::memcpy(Data(block), answer, sizeof answer);
  return kStatusCompleted;
}

struct ReadRange {
  std::uint64_t first = 0;
  std::uint64_t count = 0;
};
std::optional<ReadRange> Read10Range(const ExecScsiBlock& block) {
  const Bytes cdb = Cdb(block);
  const auto first = ReadBE32(cdb, 2);
  const auto count = ReadBE16(cdb, 7);
  if (!first || !count) return std::nullopt;
  return ReadRange{*first, *count};
}

std::uint8_t Read10(const ImageDevice& device, ExecScsiBlock& block) {
  const auto blocks = DiscBlocks(device);
  if (!blocks) return Fail(block, kSenseNotReady, kAscNoMedium);
  const auto range = Read10Range(block);
  if (!range || range->count * kSectorSize > block.data_length) return Fail(block, kSenseIllegalRequest, kAscInvalidField);
  if (range->first + range->count > *blocks) return Fail(block, kSenseIllegalRequest, kAscLbaOutOfRange);
  for (const SectorRange& bad : device.bad_sectors)
    if (bad.Touches(range->first, range->count)) return Fail(block, kSenseMediumError, kAscUnrecoveredRead);
  const std::size_t length = static_cast<std::size_t>(range->count * kSectorSize);
  std::uint8_t* data = Data(block);
  std::memset(data, 0, length);
  std::ifstream image(device.path, std::ios::binary);
  image.seekg(static_cast<std::streamoff>(range->first * kSectorSize));
  image.read(reinterpret_cast<char*>(data), static_cast<std::streamsize>(length));
  if (image.bad() || (image.fail() && !image.eof())) return Fail(block, kSenseMediumError, kAscUnrecoveredRead);
  return kStatusCompleted;
}

}  // namespace

std::uint8_t AnswerImageCommand(const ImageDevice& device, ExecScsiBlock& block) {
  const Bytes cdb = Cdb(block);
  if (cdb.empty()) return Fail(block, kSenseIllegalRequest, kAscInvalidOperation);
  switch (cdb[0]) {
    case kScsiInquiry: return Inquiry(block);
    case kScsiReadCapacity: return ReadCapacity(device, block);
    case kScsiRead10: return Read10(device, block);
    case kScsiTestUnitReady:
      return DiscBlocks(device) ? kStatusCompleted : Fail(block, kSenseNotReady, kAscNoMedium);
    default: return Fail(block, kSenseIllegalRequest, kAscInvalidOperation);
  }
}

std::uint32_t ImageCommandLateness(const ImageDevice& device, const ExecScsiBlock& block) {
  if (block.cdb_length < 1 || block.cdb[0] != kScsiRead10) return 0;
  const auto range = Read10Range(block);
  if (!range) return 0;
  std::uint32_t late = 0;
  for (const SectorRange& slow : device.slow_sectors)
    if (slow.Touches(range->first, range->count)) late = std::max(late, slow.late_ms);
  return late;
}

}  // namespace rsf::aspi
