// The ASPI request blocks as they cross into the library, shared by the program and the ASPI
// providers the project builds. In a 32-bit build both blocks have exactly the layout of the
// ASPI for Win32 interface (80 and 16 bytes, little-endian fields). In a 64-bit build the two
// address fields (data buffer, completion event) are pointer-sized, which moves everything
// after them; both sides compile this header, so they agree.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rsf::aspi {

// Names of the two entry points the library exports (C linkage, default calling convention).
inline constexpr const char* kSupportInfoEntryName = "GetASPI32SupportInfo";
inline constexpr const char* kSendCommandEntryName = "SendASPI32Command";
using SupportInfoEntry = std::uint32_t (*)();
using SendCommandEntry = std::uint32_t (*)(void* request_block);

// The completion notification: on Windows the handle of an event, elsewhere the file
// descriptor of an eventfd; the library signals it once the request is done.
using EventField = std::uintptr_t;

#pragma pack(push, 1)

// Execute-SCSI-command block (command code 2).
struct ExecScsiBlock {
  std::uint8_t command;             // 0
  std::uint8_t status;              // 1: written by the library, 1 = completed without error
  std::uint8_t host_adapter;        // 2
  std::uint8_t flags;               // 3
  std::uint32_t header_reserved;    // 4
  std::uint8_t target;              // 8
  std::uint8_t lun;                 // 9
  std::uint16_t reserved_a;         // 10
  std::uint32_t data_length;        // 12
  std::uintptr_t data_buffer;       // 16: address of the data buffer
  std::uint8_t sense_length;        // 20 (24)
  std::uint8_t cdb_length;          // 21 (25)
  std::uint8_t host_status;         // 22 (26): written by the library
  std::uint8_t target_status;       // 23 (27): written by the library
  EventField completion_event;      // 24 (28)
  std::uint8_t reserved_b[20];      // 28 (36)
  std::uint8_t cdb[16];             // 48 (56)
  std::uint8_t sense[16];           // 64 (72): filled by the library
};

// Get-device-type block (command code 1), answered at once.
struct DeviceTypeBlock {
  std::uint8_t command;           // 0
  std::uint8_t status;            // 1
  std::uint8_t host_adapter;      // 2
  std::uint8_t flags;             // 3
  std::uint32_t header_reserved;  // 4
  std::uint8_t target;            // 8
  std::uint8_t lun;               // 9
  std::uint8_t device_type;       // 10: written by the library
  std::uint8_t reserved[5];       // 11
};

// The first bytes every block shares: enough for a library to tell the kinds apart.
struct BlockHeader {
  std::uint8_t command;
  std::uint8_t status;
  std::uint8_t host_adapter;
  std::uint8_t flags;
  std::uint32_t header_reserved;
};

#pragma pack(pop)

static_assert(sizeof(DeviceTypeBlock) == 16);
static_assert(offsetof(DeviceTypeBlock, target) == 8 && offsetof(DeviceTypeBlock, lun) == 9);
static_assert(offsetof(DeviceTypeBlock, device_type) == 10);
static_assert(offsetof(ExecScsiBlock, target) == 8 && offsetof(ExecScsiBlock, lun) == 9);
static_assert(offsetof(ExecScsiBlock, data_length) == 12 && offsetof(ExecScsiBlock, data_buffer) == 16);

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ExecScsiBlock) == 80);
static_assert(offsetof(ExecScsiBlock, sense_length) == 20 && offsetof(ExecScsiBlock, cdb_length) == 21);
static_assert(offsetof(ExecScsiBlock, host_status) == 22 && offsetof(ExecScsiBlock, target_status) == 23);
static_assert(offsetof(ExecScsiBlock, completion_event) == 24 && offsetof(ExecScsiBlock, reserved_b) == 28);
static_assert(offsetof(ExecScsiBlock, cdb) == 48 && offsetof(ExecScsiBlock, sense) == 64);
#else
static_assert(sizeof(ExecScsiBlock) == 88);
static_assert(offsetof(ExecScsiBlock, sense_length) == 24 && offsetof(ExecScsiBlock, cdb_length) == 25);
static_assert(offsetof(ExecScsiBlock, host_status) == 26 && offsetof(ExecScsiBlock, target_status) == 27);
static_assert(offsetof(ExecScsiBlock, completion_event) == 28 && offsetof(ExecScsiBlock, reserved_b) == 36);
static_assert(offsetof(ExecScsiBlock, cdb) == 56 && offsetof(ExecScsiBlock, sense) == 72);
#endif

}  // namespace rsf::aspi
