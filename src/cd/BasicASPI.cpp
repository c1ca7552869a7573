// The ASPI request operations: the CDBs of READ(10), READ CAPACITY and INQUIRY, the
// get-device-type request, and the decoding of what comes back.
#include "cd/BasicASPI.h"

#include <cstring>

#include "aspi_abi/aspi_abi.h"
#include "cd/aspi_request.h"
#include "aspi_abi/scsidefs.h"
#include "cd/wnaspi32.h"

namespace rsf {
namespace {

// Every CDB carries the LUN in bits 5 to 7 of byte 1.
aspi::ScsiCommand Command(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun, std::uint8_t operation,
                          std::uint32_t wait_limit_ms) {
  aspi::ScsiCommand command;
  command.host_adapter = host_adapter;
  command.target = target;
  command.lun = lun;
  command.cdb[0] = operation;
  command.cdb[1] = static_cast<std::uint8_t>(lun << 5);
  command.wait_limit_ms = wait_limit_ms;
  return command;
}

// READ CAPACITY data: last block address in bytes 0 to 3, block length in bytes 4 to 7.
std::uint32_t ReadCapacityField(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun,
                                std::uint32_t wait_limit_ms, std::size_t offset) {
  aspi::ScsiCommand command = Command(host_adapter, target, lun, aspi::kScsiReadCapacity, wait_limit_ms);
  command.cdb_length = aspi::kCdbLength10;
  command.data_length = aspi::kReadCapacityLength;
  const auto data = aspi::ExecuteScsiCommand(command);
  if (!data) return 0;
  return ReadBE32(*data, offset).value_or(0);
}

}  // namespace

bool AspiReadSectors(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun, std::uint32_t first_block,
                     void* buffer, std::uint16_t count) {
  aspi::ScsiCommand command = Command(host_adapter, target, lun, aspi::kScsiRead10, kReadSectorsWaitMs);
  command.cdb[2] = static_cast<std::uint8_t>(first_block >> 24);
  command.cdb[3] = static_cast<std::uint8_t>(first_block >> 16);
  command.cdb[4] = static_cast<std::uint8_t>(first_block >> 8);
  command.cdb[5] = static_cast<std::uint8_t>(first_block);
  command.cdb[7] = static_cast<std::uint8_t>(count >> 8);
  command.cdb[8] = static_cast<std::uint8_t>(count);
  command.cdb_length = aspi::kCdbLength10;
  command.data_length = static_cast<std::uint32_t>(count) * aspi::kSectorSize;
  const auto data = aspi::ExecuteScsiCommand(command);
  if (!data) return true;
  if (!data->empty()) std::memcpy(buffer, data->data(), data->size());
  return false;
}

std::uint32_t AspiBlockLength(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun) {
  return ReadCapacityField(host_adapter, target, lun, kBlockLengthWaitMs, 4);
}

std::uint32_t AspiLastBlock(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun) {
  return ReadCapacityField(host_adapter, target, lun, kLastBlockWaitMs, 0);
}

std::uint8_t AspiDeviceType(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun) {
  aspi::DeviceTypeBlock block{};
  block.command = aspi::kCommandGetDeviceType;
  block.host_adapter = host_adapter;
  block.target = target;
  block.lun = lun;
  switch (SendASPI32Command(&block)) {
    case aspi::kStatusCompleted: return block.device_type;
    case aspi::kStatusInvalidHostAdapter: return aspi::kDeviceTypeNoHostAdapter;
    case aspi::kStatusNoDevice: return aspi::kDeviceTypeNoDevice;
    default: return aspi::kDeviceTypeRefused;
  }
}

std::string AspiInquiryText(std::uint8_t host_adapter, std::uint8_t target, std::uint8_t lun) {
  aspi::ScsiCommand command = Command(host_adapter, target, lun, aspi::kScsiInquiry, kInquiryWaitMs);
  command.cdb[4] = aspi::kInquiryLength;
  command.cdb_length = aspi::kCdbLength6;
  command.data_length = aspi::kInquiryLength;
  // Whatever the request status says: the identification is taken as it arrived.
  command.check_status = false;
  const auto data = aspi::ExecuteScsiCommand(command);
  if (!data) return {};
  return BytesToText(Bytes(*data).subspan(8, 28), false);
}

std::string BytesToText(Bytes bytes, bool zero_as_dot) {
  std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (zero_as_dot)
    for (char& c : text)
      if (c == '\0') c = '.';
  return text;
}

}  // namespace rsf
