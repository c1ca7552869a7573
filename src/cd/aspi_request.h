// One execute-SCSI-command request through the ASPI library, with its completion rules: a
// fresh event per request, wait for it up to the command's limit when the library answers
// "pending", then the request status. A request still pending at its limit counts as failed,
// but the library may still write into its block and buffer and signal its event, so all
// three are kept until the event fires; later requests release such leftovers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/completion_event.h"

namespace rsf::aspi {

struct ScsiCommand {
  std::uint8_t host_adapter = 0;
  std::uint8_t target = 0;
  std::uint8_t lun = 0;
  std::array<std::uint8_t, 16> cdb{};
  std::uint8_t cdb_length = 10;
  std::uint32_t data_length = 0;  // bytes the device sends back
  std::uint32_t wait_limit_ms = 0;
  bool check_status = true;       // false: the request status byte is not examined
};

// The data buffer of a request that completed (as long as `data_length`, zero-filled before
// the request), or nullopt when the request was refused, timed out or ended with an error.
std::optional<std::vector<std::uint8_t>> ExecuteScsiCommand(const ScsiCommand& command);

// How a request waits for its event: true when it was signalled within the limit. Tests put
// a clock of their own here so that no test sits out a 25-second limit; an empty function
// restores the system wait.
using EventWait = std::function<bool(platform::EventHandle event, std::uint32_t limit_ms)>;
void SetEventWait(EventWait wait);

// Requests given up at their limit whose library has not signalled them yet.
std::size_t PendingRequestCount();
// Frees the given-up requests whose events have fired since.
void ReleaseCompletedRequests();

}  // namespace rsf::aspi
