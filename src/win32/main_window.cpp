// The main window's life: creation, the window procedure, files dropped on it, the event pump
// the scan runs, and closing.
#include "win32/main_window.h"

#include <commctrl.h>
#include <knownfolders.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "desktop/main_window_layout.h"
#include "desktop/product.h"
#include "desktop/window_texts.h"
#include "platform/known_folders_win32.h"
#include "win32/command_ids.h"
#include "win32/wide_text.h"
#include "win32/object_window.h"
#include "win32/window_placement.h"

namespace rsf::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"RsfExtractorMainWindow";
// Files dropped on the window are taken at once and scanned once the drop is over, so that
// the program they came from is not kept waiting through a whole scan.
constexpr UINT kDroppedMessage = WM_APP + 1;

std::vector<std::string> DroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
    ::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
    paths.push_back(Utf8(path));
  }
  return paths;
}

}  // namespace

MainWindow::MainWindow(const desktop::DesktopServices& services, std::string help_file, const std::string& source)
    : services_(services), presenter_(*this, services_, std::move(help_file)) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RegisterWindowClass(kWindowClass, ObjectWindowProcedure<MainWindow, &MainWindow::window_, &MainWindow::HandleMessage>,
                      ::LoadIconW(nullptr, IDI_APPLICATION));
  HDC screen = ::GetDC(nullptr);
  dpi_ = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  CreateMenus();

  // The client area the layout was drawn for, with whatever frame this system draws. The window
  // paints beneath its children: a group box paints only its frame and caption, and what it
  // frames shows the window's own background.
  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
  RECT frame{0, 0, Scaled(desktop::kOuterWidth - desktop::kNominalFrameWidth),
             Scaled(desktop::kOuterHeight - desktop::kNominalFrameHeight)};
  ::AdjustWindowRectEx(&frame, kStyle, TRUE, WS_EX_ACCEPTFILES);
  ::CreateWindowExW(WS_EX_ACCEPTFILES, kWindowClass, DisplayText(desktop::ApplicationTitle()).c_str(), kStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                    menu_bar_, instance, this);
  CreateControls();
  ShowOptions();
  PlaceControls();
  CentreOnScreen();
  // On a system that gives each screen its own resolution, the window's may differ from the
  // one it was made for.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  const auto dpi_for_window = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (dpi_for_window != nullptr) ApplyResolution(static_cast<int>(dpi_for_window(window_)));
  // Where the program's folder takes no files (an installed program), clips go to the user's
  // documents.
  SetTargetPath(desktop::DefaultTargetPrefix(platform::KnownFolder(FOLDERID_Documents)));
  if (!source.empty()) SetSourcePath(source);
}

// At start the window stands in the middle of the work area of its screen.
void MainWindow::CentreOnScreen() {
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  if (!::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &screen)) return;
  RECT frame;
  ::GetWindowRect(window_, &frame);
  const RECT& area = screen.rcWork;
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  ::SetWindowPos(window_, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + std::max(0L, (area.bottom - area.top - height) / 2), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MainWindow::~MainWindow() {
  closing_ = true;
  if (window_ != nullptr) {
    for (WPARAM which : {ICON_SMALL, ICON_BIG})
      ::DestroyIcon(reinterpret_cast<HICON>(::SendMessageW(window_, WM_SETICON, which, 0)));
    ::DestroyWindow(window_);
  }
  if (tool_pictures_ != nullptr) ::ImageList_Destroy(tool_pictures_);
  ::DestroyMenu(clip_menu_);
  ::DestroyAcceleratorTable(accelerators_);
  ::DeleteObject(font_);
  ::DeleteObject(fixed_font_);
}

bool MainWindow::PreTranslate(MSG& message) {
  if (window_ == nullptr) return false;
  if (::TranslateAcceleratorW(window_, accelerators_, &message)) return true;
  return ::IsDialogMessageW(window_, &message) != FALSE;
}

void MainWindow::ProcessEvents() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The program's own loop ends on it, once the scan is over.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (!PreTranslate(message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      // A new size lines the clip list up under the source box again.
      dragged_list_width_ = -1;
      ::SendDlgItemMessageW(window_, kStatusBarControl, WM_SIZE, 0, 0);
      PlaceControls();
      return 0;
    case kDpiChangedMessage: {
      ApplyResolution(LOWORD(wparam));
      const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
      ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (OnSplitterMouse(message, lparam)) return 0;
      break;
    case WM_GETMINMAXINFO: {
      RECT smallest{0, 0, Scaled(desktop::kMainPanelMinimumSize.width), Scaled(desktop::kMainPanelMinimumSize.height)};
      ::AdjustWindowRectEx(&smallest, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_ACCEPTFILES);
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      limits->ptMinTrackSize = {smallest.right - smallest.left, smallest.bottom - smallest.top};
      return 0;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_NOTIFY:
      if (!OnHintNeeded(*reinterpret_cast<const NMHDR*>(lparam))) OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case kDroppedMessage: {
      const std::vector<std::string> paths = std::move(dropped_);
      dropped_.clear();
      if (paths.empty() || !presenter_.AcceptsDrops()) return 0;
      HCURSOR before = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
      Command([&] { presenter_.DropFiles(paths); });
      ::SetCursor(before);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Captions of check boxes and group boxes on the window's face colour; the read-only
      // information pane keeps the colour of a text field.
      const bool pane = reinterpret_cast<HWND>(lparam) == ::GetDlgItem(window_, kInfoPaneControl);
      const int colour = pane ? COLOR_WINDOW : COLOR_BTNFACE;
      ::SetBkColor(reinterpret_cast<HDC>(wparam), ::GetSysColor(colour));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(colour));
    }
    case WM_SETCURSOR: {
      if (busy_) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      POINT at;
      ::GetCursorPos(&at);
      ::ScreenToClient(window_, &at);
      if (reinterpret_cast<HWND>(wparam) == window_ && ::PtInRect(&splitter_, at)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wparam, lparam);
}

void MainWindow::Command(const std::function<void()>& handler) {
  ++running_commands_;
  presenter_.Command(handler);
  --running_commands_;
  // A close that came in during the command (a scan's event round) ends the window now.
  if (closing_ && running_commands_ == 0 && window_ != nullptr) ::DestroyWindow(window_);
}

// The splitter follows the mouse from a press on it until the button comes up; the list takes
// the width left of it.
bool MainWindow::OnSplitterMouse(UINT message, LPARAM lparam) {
  const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  switch (message) {
    case WM_LBUTTONDOWN:
      if (busy_ || !::PtInRect(&splitter_, at)) return false;
      drag_grip_ = at.x - splitter_.left;
      ::SetCapture(window_);
      return true;
    case WM_MOUSEMOVE: {
      if (drag_grip_ < 0) return false;
      RECT list;
      ::GetWindowRect(::GetDlgItem(window_, kClipListControl), &list);
      ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&list), 2);
      dragged_list_width_ = std::max(0, Unscaled(at.x - drag_grip_ - list.left));
      PlaceControls();
      return true;
    }
    case WM_LBUTTONUP:
      if (drag_grip_ < 0) return false;
      ::ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
      return true;
    case WM_CAPTURECHANGED:
      drag_grip_ = -1;
      return false;
    default:
      return false;
  }
}

// Drops are refused while busy and in CD mode.
void MainWindow::OnDropFiles(HDROP drop) {
  const bool accepted = presenter_.AcceptsDrops();
  std::vector<std::string> paths = accepted ? DroppedPaths(drop) : std::vector<std::string>{};
  ::DragFinish(drop);
  if (paths.empty()) return;
  dropped_ = std::move(paths);
  ::PostMessageW(window_, kDroppedMessage, 0, 0);
}

// Runs once, whether the window is closed by its close box, by "退出" or in the middle of a
// scan (which then stops at its next window and the window goes once it is over).
void MainWindow::FormClose() {
  if (closing_) return;
  closing_ = true;
  presenter_.Close();
  if (running_commands_ == 0 && window_ != nullptr) ::DestroyWindow(window_);
}

}  // namespace rsf::win32
