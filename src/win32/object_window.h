// The window procedure of a window whose messages a C++ object handles: the object comes with
// WM_NCCREATE's creation parameter (the last argument of CreateWindowExW), is kept in the
// window's GWLP_USERDATA, learns its handle, and handles every message from then on. Messages
// before WM_NCCREATE get the default handling.
#pragma once

#include <windows.h>

namespace rsf::win32 {

template <class Window, HWND Window::*kHandle, LRESULT (Window::*kHandler)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ObjectWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->*kHandle = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
  return (self->*kHandler)(message, wparam, lparam);
}

}  // namespace rsf::win32
