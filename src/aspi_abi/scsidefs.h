// scsidefs: the SCSI and ASPI numbers the CD access speaks — ASPI command codes, request flags,
// return and status codes, peripheral device types and the SCSI operation codes it sends.
#pragma once

#include <cstdint>

namespace rsf::aspi {

// ASPI command codes (byte 0 of every request block).
inline constexpr std::uint8_t kCommandGetDeviceType = 1;
inline constexpr std::uint8_t kCommandExecuteScsi = 2;

// Request flags (byte 3): data direction and how completion is reported.
inline constexpr std::uint8_t kFlagDataIn = 0x08;   // device to host
inline constexpr std::uint8_t kFlagDataOut = 0x10;  // host to device
inline constexpr std::uint8_t kFlagEventNotify = 0x40;

// Return codes of SendASPI32Command, also written as the request status (byte 1).
inline constexpr std::uint8_t kStatusPending = 0x00;
inline constexpr std::uint8_t kStatusCompleted = 0x01;
inline constexpr std::uint8_t kStatusAborted = 0x02;
inline constexpr std::uint8_t kStatusError = 0x04;
inline constexpr std::uint8_t kStatusInvalidCommand = 0x80;
inline constexpr std::uint8_t kStatusInvalidHostAdapter = 0x81;
inline constexpr std::uint8_t kStatusNoDevice = 0x82;

// The support information: bits 8 to 15 the status, bits 0 to 7 the host adapter count.
constexpr std::uint32_t SupportInfo(std::uint8_t status, std::uint8_t host_adapters) {
  return (static_cast<std::uint32_t>(status) << 8) | host_adapters;
}
constexpr std::uint8_t SupportStatus(std::uint32_t info) { return static_cast<std::uint8_t>(info >> 8); }
constexpr std::uint8_t SupportHostAdapters(std::uint32_t info) { return static_cast<std::uint8_t>(info); }

// Peripheral device types.
inline constexpr std::uint8_t kDeviceTypeDisk = 0x00;
inline constexpr std::uint8_t kDeviceTypeCdRom = 0x05;

// What AspiDeviceType answers when the library gives no device type.
inline constexpr std::uint8_t kDeviceTypeNoHostAdapter = 255;
inline constexpr std::uint8_t kDeviceTypeNoDevice = 250;
inline constexpr std::uint8_t kDeviceTypeRefused = 240;

// SCSI operation codes.
inline constexpr std::uint8_t kScsiTestUnitReady = 0x00;
inline constexpr std::uint8_t kScsiInquiry = 0x12;
inline constexpr std::uint8_t kScsiReadCapacity = 0x25;
inline constexpr std::uint8_t kScsiRead10 = 0x28;

// SCSI target status and sense keys the providers report.
inline constexpr std::uint8_t kTargetCheckCondition = 0x02;
inline constexpr std::uint8_t kSenseNotReady = 0x02;
inline constexpr std::uint8_t kSenseMediumError = 0x03;
inline constexpr std::uint8_t kSenseIllegalRequest = 0x05;

// Sizes the requests use.
inline constexpr std::uint32_t kSectorSize = 2048;
inline constexpr std::uint8_t kSenseLength = 14;
inline constexpr std::uint8_t kCdbLength10 = 10;
inline constexpr std::uint8_t kCdbLength6 = 6;
inline constexpr std::uint8_t kInquiryLength = 36;
inline constexpr std::uint8_t kReadCapacityLength = 8;

}  // namespace rsf::aspi
