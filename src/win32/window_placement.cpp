// The screen's work area through the monitor functions, the system's work area as a fallback.
#include "win32/window_placement.h"

#include <algorithm>

namespace rsf::win32 {

RECT WorkAreaNear(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return monitor.rcWork;
  RECT area{0, 0, 1024, 768};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

void CentreOver(HWND window, HWND over) {
  RECT frame;
  ::GetWindowRect(window, &frame);
  const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
  const RECT work = WorkAreaNear(over != nullptr ? over : window);
  RECT middle_of = work;
  if (over != nullptr) ::GetWindowRect(over, &middle_of);
  const LONG left = std::max(work.left, std::min((middle_of.left + middle_of.right - width) / 2, work.right - width));
  const LONG top = std::max(work.top, std::min((middle_of.top + middle_of.bottom - height) / 2, work.bottom - height));
  ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.hIcon = icon;
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = name;
  ::RegisterClassExW(&window_class);
}

}  // namespace rsf::win32
