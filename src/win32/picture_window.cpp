// The picture window: one window, made when the first picture is shown and hidden between
// pictures; the picture is painted from its pixels with StretchDIBits, halftoned where it is
// scaled down.
#include "win32/picture_window.h"

#include <algorithm>

#include "desktop/product.h"
#include "win32/wide_text.h"
#include "win32/object_window.h"
#include "win32/window_placement.h"

namespace rsf::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"RsfExtractorPictureWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExtendedStyle = WS_EX_TOPMOST;

}  // namespace

PictureWindow::~PictureWindow() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

void PictureWindow::SetOwner(HWND owner) {
  owner_ = owner;
  if (window_ != nullptr) ::SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

SIZE PictureWindow::PictureSize() const {
  if (!picture_) return {0, 0};
  return {static_cast<LONG>(picture_->width), static_cast<LONG>(picture_->height)};
}

bool PictureWindow::ShowPictureFile(const std::string& path) {
  picture_.reset();
  shown_ = {0, 0};
  if (window_ != nullptr) ::InvalidateRect(window_, nullptr, TRUE);
  picture_ = DecodePictureFile(path, ::GetSysColor(COLOR_BTNFACE));
  if (!picture_) return false;
  CreateOnce();
  if (window_ == nullptr) {
    picture_.reset();
    return false;
  }
  shown_ = FittedSize();
  RECT frame{0, 0, shown_.cx, shown_.cy};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExtendedStyle);
  ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!::IsWindowVisible(window_)) {
    CentreOverOwner();
    ::ShowWindow(window_, SW_SHOW);
  }
  ::BringWindowToTop(window_);
  ::InvalidateRect(window_, nullptr, FALSE);
  return true;
}

void PictureWindow::HidePicture() {
  if (window_ != nullptr) ::ShowWindow(window_, SW_HIDE);
}

void PictureWindow::ClosePicture() { CloseWindow(); }

void PictureWindow::CloseWindow() {
  HidePicture();
  picture_.reset();
  shown_ = {0, 0};
  if (on_closed_) on_closed_();
}

void PictureWindow::CreateOnce() {
  if (window_ != nullptr) return;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RegisterWindowClass(kWindowClass, ObjectWindowProcedure<PictureWindow, &PictureWindow::window_, &PictureWindow::HandleMessage>);
  // The Qt picture window has no title of its own and shows the application's.
  ::CreateWindowExW(kExtendedStyle, kWindowClass, DisplayText(desktop::ApplicationTitle()).c_str(), kStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, 105, 105, owner_, nullptr, instance, this);
}

// The picture's own size where it fits the work area with the window's frame; otherwise scaled
// down, keeping its proportions, until it does.
SIZE PictureWindow::FittedSize() const {
  const RECT work = WorkAreaNear(owner_ != nullptr ? owner_ : window_);
  RECT frame{0, 0, 0, 0};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExtendedStyle);
  const double room_width = std::max<LONG>(1, (work.right - work.left) - (frame.right - frame.left));
  const double room_height = std::max<LONG>(1, (work.bottom - work.top) - (frame.bottom - frame.top));
  const double width = picture_->width, height = picture_->height;
  const double scale = std::min({1.0, room_width / width, room_height / height});
  return {std::max<LONG>(1, static_cast<LONG>(width * scale + 0.5)), std::max<LONG>(1, static_cast<LONG>(height * scale + 0.5))};
}

// Centred over the owner, kept inside the work area.
void PictureWindow::CentreOverOwner() { CentreOver(window_, owner_); }

void PictureWindow::Paint() {
  PAINTSTRUCT paint;
  HDC context = ::BeginPaint(window_, &paint);
  RECT client;
  ::GetClientRect(window_, &client);
  // Beside and below the picture, the window's face.
  const RECT beside{shown_.cx, 0, client.right, client.bottom}, below{0, shown_.cy, shown_.cx, client.bottom};
  ::FillRect(context, &beside, ::GetSysColorBrush(COLOR_BTNFACE));
  ::FillRect(context, &below, ::GetSysColorBrush(COLOR_BTNFACE));
  if (picture_) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = static_cast<LONG>(picture_->width);
    format.bmiHeader.biHeight = -static_cast<LONG>(picture_->height);  // top-down rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(context, HALFTONE);
    ::SetBrushOrgEx(context, 0, 0, nullptr);
    ::StretchDIBits(context, 0, 0, shown_.cx, shown_.cy, 0, 0, static_cast<int>(picture_->width),
                    static_cast<int>(picture_->height), picture_->pixels.data(), &format, DIB_RGB_COLORS, SRCCOPY);
  }
  ::EndPaint(window_, &paint);
}

LRESULT PictureWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND window = window_;
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_CLOSE:
      CloseWindow();
      return 0;
    case WM_NCDESTROY:
      // With its owner, when the main window goes without closing it first.
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = nullptr;
      picture_.reset();
      shown_ = {0, 0};
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace rsf::win32
