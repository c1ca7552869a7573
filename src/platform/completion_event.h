// The waitable object through which an ASPI library reports that a request is done: a
// manual-reset event, unsignalled when created. On Windows an event handle, elsewhere an
// eventfd (signalled while its counter is above zero). The handle is what goes into the
// completion field of a request block, so a library built apart from the program can signal it.
#pragma once

#include <cstdint>
#include <optional>

namespace rsf::platform {

using EventHandle = std::uintptr_t;

// A new unsignalled event, or nullopt when the system has none to give.
std::optional<EventHandle> OpenCompletionEvent();
// Back to unsignalled.
void ClearCompletionEvent(EventHandle event);
// Signalled from now on, until cleared; waiters wake.
void SignalCompletionEvent(EventHandle event);
// Waits at most `limit_ms` milliseconds; true when the event was signalled in that time.
bool WaitForCompletionEvent(EventHandle event, std::uint32_t limit_ms);
// True when the event is signalled now (never waits).
bool CompletionEventSignalled(EventHandle event);
void CloseCompletionEvent(EventHandle event);

}  // namespace rsf::platform
