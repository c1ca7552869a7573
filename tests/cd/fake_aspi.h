// A stand-in ASPI library for the CD tests: drives at chosen host adapter and target numbers
// with a disc whose byte n is DiscByte(n), answering at once, "pending" with or without a
// later signal, or refusing; it records every block it is sent. Request waits go through a
// recorded clock that never sleeps: a signalled event is seen at once, anything else has
// passed its limit.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "aspi_abi/aspi_abi.h"
#include "cd/aspi_request.h"
#include "aspi_abi/scsidefs.h"
#include "cd/wnaspi32.h"
#include "platform/completion_event.h"

namespace rsf::test {

inline std::uint8_t DiscByte(std::int64_t n) { return static_cast<std::uint8_t>((n + (n >> 11) * 37) & 0xFF); }

// The first block and the sector count of a READ(10) block.
inline std::pair<std::uint32_t, std::uint32_t> ReadSpan(const aspi::ExecScsiBlock& block) {
  auto byte = [&](int i) { return static_cast<std::uint32_t>(block.cdb[i]); };
  return {byte(2) << 24 | byte(3) << 16 | byte(4) << 8 | byte(5), byte(7) << 8 | byte(8)};
}

struct FakeDrive {
  bool has_disc = true;
  std::array<std::uint8_t, 8> capacity = {0x00, 0x05, 0x14, 0x7F, 0x00, 0x00, 0x08, 0x00};
  std::set<std::uint32_t> bad_blocks;
  std::string inquiry = std::string(8, '\0') + "VENDOR  PRODUCT NAME    REV1";
  std::uint8_t device_type = aspi::kDeviceTypeCdRom;
};

enum class FakeAnswer {
  kAtOnce,          // return code 1, block finished before returning
  kPendingSignalled, // return code 0, event signalled before returning
  kPendingSilent,   // return code 0, nothing happens until CompleteHeldRequests
  kRefused,         // return code 0x80, nothing written
};

class FakeAspiLibrary {
 public:
  FakeAspiLibrary() {
    aspi::OverrideLibrary({[this] { return support_info; }, [this](void* block) { return Send(block); }});
    aspi::SetEventWait([this](platform::EventHandle event, std::uint32_t limit_ms) {
      waits.push_back(limit_ms);
      return platform::CompletionEventSignalled(event);
    });
  }
  ~FakeAspiLibrary() {
    aspi::RestoreLibrary();
    aspi::SetEventWait({});
  }
  FakeAspiLibrary(const FakeAspiLibrary&) = delete;
  FakeAspiLibrary& operator=(const FakeAspiLibrary&) = delete;

  FakeDrive& AddDrive(int host_adapter, int target) { return drives[{host_adapter, target}]; }

  // Finishes the requests held by kPendingSilent as the drive would have, and signals them.
  void CompleteHeldRequests() {
    for (aspi::ExecScsiBlock* block : held) Finish(*block);
    held.clear();
  }

  std::uint32_t support_info = aspi::SupportInfo(aspi::kStatusCompleted, 1);
  std::map<std::pair<int, int>, FakeDrive> drives;
  FakeAnswer answer = FakeAnswer::kPendingSignalled;
  std::uint8_t completed_status = aspi::kStatusCompleted;  // request status of finished requests
  std::uint32_t device_type_code = 0;                      // nonzero: forced return code

  std::vector<aspi::ExecScsiBlock> sent;  // as they arrived
  std::vector<aspi::DeviceTypeBlock> device_queries;
  std::vector<std::uint32_t> waits;       // limits the requests waited with
  std::vector<aspi::ExecScsiBlock*> held;

 private:
  std::uint32_t Send(void* request) {
    const auto* header = static_cast<const aspi::BlockHeader*>(request);
    if (header->command == aspi::kCommandGetDeviceType) return DeviceType(*static_cast<aspi::DeviceTypeBlock*>(request));
    auto& block = *static_cast<aspi::ExecScsiBlock*>(request);
    sent.push_back(block);
    switch (answer) {
      case FakeAnswer::kAtOnce: Finish(block, false); return aspi::kStatusCompleted;
      case FakeAnswer::kPendingSignalled: Finish(block); return aspi::kStatusPending;
      case FakeAnswer::kPendingSilent: held.push_back(&block); return aspi::kStatusPending;
      case FakeAnswer::kRefused: return aspi::kStatusInvalidCommand;
    }
    return aspi::kStatusInvalidCommand;
  }

  std::uint32_t DeviceType(aspi::DeviceTypeBlock& block) {
    device_queries.push_back(block);
    if (device_type_code != 0) return device_type_code;
    if (block.host_adapter >= aspi::SupportHostAdapters(support_info)) return aspi::kStatusInvalidHostAdapter;
    const auto drive = drives.find({block.host_adapter, block.target});
    if (drive == drives.end() || block.lun != 0) return aspi::kStatusNoDevice;
    block.device_type = drive->second.device_type;
    return aspi::kStatusCompleted;
  }

  void Finish(aspi::ExecScsiBlock& block, bool signal = true) {
    block.status = Answer(block) ? completed_status : aspi::kStatusError;
    if (signal) platform::SignalCompletionEvent(block.completion_event);
  }

  // Fills the data buffer; false when the drive would report an error.
  bool Answer(aspi::ExecScsiBlock& block) {
    const auto drive = drives.find({block.host_adapter, block.target});
    if (drive == drives.end()) return false;
    auto* data = reinterpret_cast<std::uint8_t*>(block.data_buffer);
    switch (block.cdb[0]) {
      case aspi::kScsiInquiry:
        std::memcpy(data, drive->second.inquiry.data(), std::min<std::size_t>(block.data_length, drive->second.inquiry.size()));
        return true;
      case aspi::kScsiReadCapacity:
        if (!drive->second.has_disc) return false;
        std::memcpy(data, drive->second.capacity.data(), 8);
        return true;
      case aspi::kScsiRead10: {
        if (!drive->second.has_disc) return false;
        const auto [first, count] = ReadSpan(block);
        for (std::uint32_t sector = first; sector < first + count; ++sector)
          if (drive->second.bad_blocks.count(sector) > 0) return false;
        const std::int64_t start = static_cast<std::int64_t>(first) * 2048;
        for (std::uint32_t i = 0; i < block.data_length; ++i) data[i] = DiscByte(start + i);
        return true;
      }
      default: return false;
    }
  }
};

}  // namespace rsf::test
