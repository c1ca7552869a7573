// Completion events as eventfds. The counter is never read by a waiter, so once written the
// descriptor stays readable (signalled) until ClearCompletionEvent drains it: manual reset.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/completion_event.h"

namespace rsf::platform {
namespace {

int Fd(EventHandle event) { return static_cast<int>(event); }

// Polls for readability, resuming after signals with what is left of the limit.
bool PollReadable(int fd, std::uint32_t limit_ms) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limit_ms);
  int wait_ms = static_cast<int>(limit_ms > 0x7FFFFFFFu ? 0x7FFFFFFFu : limit_ms);
  for (;;) {
    pollfd entry{fd, POLLIN, 0};
    const int ready = ::poll(&entry, 1, wait_ms);
    if (ready > 0) return (entry.revents & POLLIN) != 0;
    if (ready == 0 || errno != EINTR) return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    wait_ms = static_cast<int>(left);
  }
}

}  // namespace

std::optional<EventHandle> OpenCompletionEvent() {
  const int fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd < 0) return std::nullopt;
  return static_cast<EventHandle>(fd);
}

void ClearCompletionEvent(EventHandle event) {
  std::uint64_t counter = 0;
  while (::read(Fd(event), &counter, sizeof counter) < 0 && errno == EINTR) {
  }
}

void SignalCompletionEvent(EventHandle event) {
  const std::uint64_t one = 1;
  while (::write(Fd(event), &one, sizeof one) < 0 && errno == EINTR) {
  }
}

bool WaitForCompletionEvent(EventHandle event, std::uint32_t limit_ms) { return PollReadable(Fd(event), limit_ms); }

bool CompletionEventSignalled(EventHandle event) { return PollReadable(Fd(event), 0); }

void CloseCompletionEvent(EventHandle event) { ::close(Fd(event)); }

}  // namespace rsf::platform
