// Executing one SCSI command through ASPI; keeps the requests that outlived their wait limit.
#include "cd/aspi_request.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>

#include "aspi_abi/aspi_abi.h"
#include "aspi_abi/scsidefs.h"
#include "cd/wnaspi32.h"

namespace rsf::aspi {
namespace {

// Everything the library may touch until it signals the event.
struct Request {
  ExecScsiBlock block{};
  std::vector<std::uint8_t> data;
  platform::EventHandle event = 0;

  explicit Request(platform::EventHandle opened) : event(opened) {}
  ~Request() { platform::CloseCompletionEvent(event); }
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;
};

// Given-up requests. Never destroyed: at program exit a library thread may still be about to
// write into one of them.
struct PendingRequests {
  std::mutex mutex;
  std::vector<std::unique_ptr<Request>> requests;
};

PendingRequests& Pending() {
  static auto* pending = new PendingRequests;
  return *pending;
}

std::mutex& WaitMutex() {
  static std::mutex mutex;
  return mutex;
}

EventWait& CustomWait() {
  static EventWait wait;
  return wait;
}

bool WaitForRequest(platform::EventHandle event, std::uint32_t limit_ms) {
  EventWait wait;
  {
    std::lock_guard lock(WaitMutex());
    wait = CustomWait();
  }
  return wait ? wait(event, limit_ms) : platform::WaitForCompletionEvent(event, limit_ms);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ExecuteScsiCommand(const ScsiCommand& command) {
  ReleaseCompletedRequests();
  const std::optional<platform::EventHandle> event = platform::OpenCompletionEvent();
  if (!event) return std::nullopt;
  auto request = std::make_unique<Request>(*event);
  platform::ClearCompletionEvent(request->event);
  request->data.assign(command.data_length, 0);

  ExecScsiBlock& block = request->block;
  block.command = kCommandExecuteScsi;
  block.host_adapter = command.host_adapter;
  block.flags = kFlagDataIn | kFlagEventNotify;
  block.target = command.target;
  block.lun = command.lun;
  block.data_length = command.data_length;
  block.data_buffer = reinterpret_cast<std::uintptr_t>(request->data.data());
  block.sense_length = kSenseLength;
  block.cdb_length = command.cdb_length;
  block.completion_event = request->event;
  for (std::size_t i = 0; i < command.cdb.size(); ++i) block.cdb[i] = command.cdb[i];

  const SendOutcome sent = SendToLibrary(&block);
  if (sent.code == kStatusPending) {
    if (!WaitForRequest(request->event, command.wait_limit_ms)) {
      // A library that took the block may still complete it: keep it alive until then.
      if (sent.delivered) {
        std::lock_guard lock(Pending().mutex);
        Pending().requests.push_back(std::move(request));
      }
      return std::nullopt;
    }
    // Taking the signal (the event is done with) also orders what the library wrote before it
    // signalled before what is read here, for tools that check such orderings too.
    platform::ClearCompletionEvent(request->event);
  } else if (sent.code != kStatusCompleted) {
    return std::nullopt;
  }
  // The library wrote block and buffer before it signalled (or before it returned).
  std::atomic_thread_fence(std::memory_order_acquire);
  if (command.check_status && block.status != kStatusCompleted) return std::nullopt;
  return std::move(request->data);
}

void SetEventWait(EventWait wait) {
  std::lock_guard lock(WaitMutex());
  CustomWait() = std::move(wait);
}

std::size_t PendingRequestCount() {
  std::lock_guard lock(Pending().mutex);
  return Pending().requests.size();
}

void ReleaseCompletedRequests() {
  std::lock_guard lock(Pending().mutex);
  auto& requests = Pending().requests;
  std::erase_if(requests, [](const std::unique_ptr<Request>& request) {
    if (!platform::CompletionEventSignalled(request->event)) return false;
    platform::ClearCompletionEvent(request->event);  // taken, as after a wait
    return true;
  });
}

}  // namespace rsf::aspi
