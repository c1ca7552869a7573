// The program's own windows: the class each kind is made of, the work area of a window's screen,
// and a window centred over another (or over that work area) without leaving it.
#pragma once

#include <windows.h>

namespace rsf::win32 {

// The work area of the screen `window` is on (the primary screen's for none).
RECT WorkAreaNear(HWND window);

// Moves `window` to the middle of `over` (the work area where `over` is null), kept inside the
// work area of `over`'s screen, or of its own.
void CentreOver(HWND window, HWND over);

// Registers a window class with the arrow cursor and the window face's colour; registering a
// class again, as each further window of the kind does, fails harmlessly.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr);

}  // namespace rsf::win32
