// The About window made from desktop::About(): each text a label at its place, in its style.
#include "win32/about_window.h"

#include <commctrl.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "desktop/about_contents.h"
#include "desktop/command_pictures.h"
#include "win32/picture_bitmap.h"
#include "win32/wide_text.h"
#include "win32/object_window.h"
#include "win32/window_placement.h"

namespace rsf::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"RsfExtractorAboutWindow";
constexpr int kLinkId = 100;
// The line of thanks in the window's own dark blue.
constexpr COLORREF kDarkText = RGB(24, 48, 66);
constexpr COLORREF kLinkText = RGB(0, 0, 255);
// No close box: the button closes the window (so do Enter and Esc).
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME;

// The logo laid over the window's face colour, as a static control shows a bitmap.
HBITMAP LogoOnFace(int dpi) {
  HBITMAP logo = PictureBitmap(desktop::AboutLogoDrawing(), dpi / 96.0);
  if (logo == nullptr) return nullptr;
  DIBSECTION section{};
  ::GetObjectW(logo, sizeof section, &section);
  auto* pixels = static_cast<std::uint8_t*>(section.dsBm.bmBits);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const std::uint8_t under[3] = {GetBValue(face), GetGValue(face), GetRValue(face)};
  const std::size_t count = static_cast<std::size_t>(section.dsBm.bmWidth) * section.dsBm.bmHeight;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t* pixel = pixels + i * 4;
    const int alpha = pixel[3];
    for (int channel = 0; channel < 3; ++channel)
      pixel[channel] = static_cast<std::uint8_t>((pixel[channel] * alpha + under[channel] * (255 - alpha) + 127) / 255);
    pixel[3] = 255;
  }
  return logo;
}

}  // namespace

AboutWindow::AboutWindow(HWND owner, int dpi, desktop::Shell& shell) : owner_(owner), dpi_(dpi), shell_(shell) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RegisterWindowClass(kWindowClass, ObjectWindowProcedure<AboutWindow, &AboutWindow::window_, &AboutWindow::HandleMessage>);

  const desktop::AboutContents about = desktop::About();
  RECT frame{0, 0, Scaled(about.width), Scaled(about.height)};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_DLGMODALFRAME);
  ::CreateWindowExW(WS_EX_DLGMODALFRAME, kWindowClass, DisplayText(about.caption).c_str(), kStyle, 0, 0,
                    frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, instance, this);
  const HFONT plain = Font(FW_NORMAL, false);
  auto add = [&](const wchar_t* control_class, const std::wstring& text, DWORD style, int id, int left, int top,
                 int width, int height, HFONT font) {
    HWND control = ::CreateWindowExW(0, control_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, Scaled(left),
                                     Scaled(top), Scaled(width), Scaled(height), window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
  };
  add(WC_BUTTONW, L"", BS_GROUPBOX, 0, 0, 0, about.width, about.height, plain);

  logo_ = LogoOnFace(dpi_);
  HWND logo = add(WC_STATICW, L"", SS_BITMAP, 0, about.logo_left, about.logo_top, desktop::kLogoWidth,
                  desktop::kLogoHeight, plain);
  ::SendMessageW(logo, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_));

  HDC dc = ::GetDC(window_);
  for (const desktop::AboutText& line : about.texts) {
    HFONT font = plain;
    if (line.style == desktop::AboutTextStyle::kBold) font = Font(FW_BOLD, false);
    if (line.style == desktop::AboutTextStyle::kLink) font = Font(FW_NORMAL, true);
    // Each label is as large as its text in its font.
    const std::wstring text = DisplayText(line.text);
    HGDIOBJ old = ::SelectObject(dc, font);
    RECT extent{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_NOPREFIX);
    ::SelectObject(dc, old);
    const bool link = line.style == desktop::AboutTextStyle::kLink;
    HWND label = add(WC_STATICW, text, SS_NOPREFIX | (link ? SS_NOTIFY : 0), link ? kLinkId : 0, line.left, line.top,
                     ::MulDiv(extent.right, 96, dpi_) + 1, ::MulDiv(extent.bottom, 96, dpi_) + 1, font);
    labels_.emplace_back(line.name, label);
    if (link) link_ = label;
    if (line.style == desktop::AboutTextStyle::kDark) dark_ = label;
  }
  ::ReleaseDC(window_, dc);

  HWND button = add(WC_BUTTONW, DisplayText(about.button_caption), WS_TABSTOP | BS_DEFPUSHBUTTON, kButtonId,
                    about.button_left, about.button_top, about.button_width, about.button_height, plain);
  ::SetFocus(button);
}

AboutWindow::~AboutWindow() {
  if (window_ != nullptr) ::DestroyWindow(window_);
  if (logo_ != nullptr) ::DeleteObject(logo_);
  for (HFONT font : fonts_) ::DeleteObject(font);
}

HFONT AboutWindow::Font(int weight, bool underline) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  HDC screen = ::GetDC(nullptr);
  font.lfHeight = ::MulDiv(font.lfHeight, dpi_, ::GetDeviceCaps(screen, LOGPIXELSY));
  ::ReleaseDC(nullptr, screen);
  font.lfWeight = weight;
  font.lfUnderline = underline ? TRUE : FALSE;
  fonts_.push_back(::CreateFontIndirectW(&font));
  return fonts_.back();
}

HWND AboutWindow::Label(const char* name) const {
  for (const auto& [label_name, label] : labels_)
    if (label_name == name) return label;
  return nullptr;
}

void AboutWindow::RunModal() {
  CentreOver(window_, owner_);
  ::EnableWindow(owner_, FALSE);
  ::ShowWindow(window_, SW_SHOW);
  MSG message;
  while (!closed_ && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!::IsDialogMessageW(window_, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  if (message.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(message.wParam));
  ::EnableWindow(owner_, TRUE);
  ::ShowWindow(window_, SW_HIDE);
  ::SetActiveWindow(owner_);
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kButtonId:
        case IDCANCEL:  // Esc
          closed_ = true;
          return 0;
        case kLinkId:
          // Whatever the browser makes of the address, nothing is reported.
          if (HIWORD(wparam) == STN_CLICKED) shell_.OpenDocument(desktop::HomePageUrl(), [](const platform::OpenOutcome&) {});
          return 0;
        default:
          break;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      const auto label = reinterpret_cast<HWND>(lparam);
      HDC dc = reinterpret_cast<HDC>(wparam);
      if (label == link_) ::SetTextColor(dc, kLinkText);
      if (label == dark_) ::SetTextColor(dc, kDarkText);
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wparam) == link_) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      closed_ = true;
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace rsf::win32
