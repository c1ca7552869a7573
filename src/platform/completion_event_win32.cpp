// Completion events as Win32 manual-reset events: CreateEventA, ResetEvent, SetEvent,
// WaitForSingleObject and CloseHandle.
#include <windows.h>

#include "platform/completion_event.h"

namespace rsf::platform {
namespace {

HANDLE Handle(EventHandle event) { return reinterpret_cast<HANDLE>(event); }

}  // namespace

std::optional<EventHandle> OpenCompletionEvent() {
  HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (event == nullptr) return std::nullopt;
  return reinterpret_cast<EventHandle>(event);
}

void ClearCompletionEvent(EventHandle event) { ::ResetEvent(Handle(event)); }

void SignalCompletionEvent(EventHandle event) { ::SetEvent(Handle(event)); }

bool WaitForCompletionEvent(EventHandle event, std::uint32_t limit_ms) {
  return ::WaitForSingleObject(Handle(event), static_cast<DWORD>(limit_ms)) == WAIT_OBJECT_0;
}

bool CompletionEventSignalled(EventHandle event) { return ::WaitForSingleObject(Handle(event), 0) == WAIT_OBJECT_0; }

void CloseCompletionEvent(EventHandle event) { ::CloseHandle(Handle(event)); }

}  // namespace rsf::platform
