// MCI through its command strings, under one alias: the device is opened without a type (MCI
// takes the one registered for the file's extension) and played with notify, so that its end
// reaches the player's window as MM_MCINOTIFY while the window's thread goes on. A video draws
// into the window's picture area (`window ... handle`, `put ... destination`), which hands its
// repaints back to the device (MCI_UPDATE).
#include "win32/mci_player.h"

#include <digitalv.h>
#include <mmsystem.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "desktop/window_texts.h"
#include "win32/wide_text.h"
#include "win32/object_window.h"
#include "win32/window_placement.h"

namespace rsf::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"RsfExtractorPlayerWindow";
constexpr wchar_t kVideoClass[] = L"RsfExtractorPlayerVideo";
constexpr wchar_t kAlias[] = L"rsf_clip";
constexpr int kStopButtonId = 1;
// In pixels at 96 dpi, as the Qt player window: margins, the width of a sound's window, the
// smallest picture area, the share of the work area a video may take.
constexpr int kMargin = 4;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kSoundWindowWidth = 320;
constexpr SIZE kSmallestVideo{160, 120};
constexpr SIZE kDefaultVideo{320, 240};

struct MciAnswer {
  MCIERROR error = 0;
  std::wstring text;
};

MciAnswer SendCommand(const std::wstring& command, HWND notify = nullptr) {
  wchar_t text[256] = {};
  MciAnswer answer;
  answer.error = ::mciSendStringW(command.c_str(), text, static_cast<UINT>(std::size(text)), notify);
  answer.text = text;
  return answer;
}

std::wstring OnDevice(const wchar_t* verb, const wchar_t* rest = L"") {
  return std::wstring(verb) + L" " + kAlias + (*rest != 0 ? L" " : L"") + rest;
}

std::string ErrorText(MCIERROR error) {
  wchar_t text[MAXERRORLENGTH] = {};
  if (::mciGetErrorStringW(error, text, static_cast<UINT>(std::size(text))) && text[0] != 0) return Utf8(text);
  return "MCI error " + std::to_string(error);
}

// What keeps an open sound device from playing: no output device of its kind, or (asked of a
// wave device, which then makes ready) none for the sound's format. 0 when nothing does.
MCIERROR MissingOutput(const std::wstring& device_type) {
  if (device_type == L"waveaudio") {
    if (::waveOutGetNumDevs() == 0) return MCIERR_WAVE_OUTPUTSUNSUITABLE;
    return SendCommand(OnDevice(L"cue", L"output")).error;
  }
  if (device_type == L"sequencer" && ::midiOutGetNumDevs() == 0) return MCIERR_SEQ_NOMIDIPRESENT;
  return 0;
}

// The video's own size ("where ... source" answers "left top width height"); 0 x 0 when the
// device does not tell.
SIZE SourceSize() {
  const MciAnswer answer = SendCommand(OnDevice(L"where", L"source"));
  long left = 0, top = 0, width = 0, height = 0;
  if (answer.error != 0 || std::swscanf(answer.text.c_str(), L"%ld %ld %ld %ld", &left, &top, &width, &height) != 4)
    return {0, 0};
  return {std::max(0L, width), std::max(0L, height)};
}

// `video` within `room`, keeping its proportions, at least the smallest picture area.
SIZE FitWithin(SIZE video, SIZE room) {
  if (video.cx <= 0 || video.cy <= 0) video = kDefaultVideo;
  const double scale = std::min({1.0, static_cast<double>(room.cx) / video.cx, static_cast<double>(room.cy) / video.cy});
  return {std::max(kSmallestVideo.cx, static_cast<LONG>(video.cx * scale)),
          std::max(kSmallestVideo.cy, static_cast<LONG>(video.cy * scale))};
}

HFONT MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

void RegisterClasses(WNDPROC window_procedure, WNDPROC video_procedure) {
  RegisterWindowClass(kWindowClass, window_procedure);
  WNDCLASSEXW video_class{};
  video_class.cbSize = sizeof video_class;
  video_class.lpfnWndProc = video_procedure;
  video_class.hInstance = ::GetModuleHandleW(nullptr);
  video_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  video_class.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  video_class.lpszClassName = kVideoClass;
  ::RegisterClassExW(&video_class);  // fails harmlessly when a player before did it
}

}  // namespace

MciPlayer::~MciPlayer() {
  window_closed_ = nullptr;
  Close();
}

void MciPlayer::Open(const std::string& path, const std::string& title) {
  Close();
  const MciAnswer opened = SendCommand(L"open \"" + Wide(path) + L"\" alias " + kAlias);
  if (opened.error != 0) throw desktop::MediaDeviceError(ErrorText(opened.error));
  open_ = true;
  device_ = ::mciGetDeviceIDW(kAlias);
  const bool has_video = SendCommand(OnDevice(L"capability", L"has video")).text == L"true";
  if (output_ == SoundOutput::kChecked) {
    if (const MCIERROR missing = MissingOutput(SendCommand(OnDevice(L"capability", L"device type")).text)) {
      CloseDevice();
      throw desktop::MediaDeviceError(ErrorText(missing));
    }
  }
  CreatePlayerWindow(title, has_video, has_video ? SourceSize() : SIZE{0, 0});
  if (window_ == nullptr) {
    CloseDevice();
    throw desktop::MediaDeviceError("no window for the player");
  }
  if (video_ != nullptr) {
    MCI_DGV_WINDOW_PARMSW into{};
    into.hWnd = video_;
    ::mciSendCommandW(device_, MCI_WINDOW, MCI_DGV_WINDOW_HWND, reinterpret_cast<DWORD_PTR>(&into));
    PlaceControls();
  }
}

void MciPlayer::Play() {
  if (!open_ || window_ == nullptr) return;
  if (!::IsWindowVisible(window_)) {
    // Centred over the main window, inside the work area.
    CentreOver(window_, owner_);
  }
  ::ShowWindow(window_, SW_SHOW);
  ::BringWindowToTop(window_);
  playing_ = SendCommand(OnDevice(L"play", L"from 0 notify"), window_).error == 0;
}

void MciPlayer::Close() {
  CloseDevice();
  DestroyPlayerWindow();
}

void MciPlayer::Stop() {
  if (!open_) return;
  SendCommand(OnDevice(L"stop"));
  SendCommand(OnDevice(L"seek", L"to start"));
  playing_ = false;
}

void MciPlayer::CloseDevice() {
  if (!open_) return;
  SendCommand(OnDevice(L"close"));
  open_ = false;
  playing_ = false;
  device_ = 0;
}

void MciPlayer::DestroyPlayerWindow() {
  if (window_ != nullptr) ::DestroyWindow(window_);  // WM_NCDESTROY forgets it
}

// A video's window takes the video's size within most of the work area; a sound's is as wide
// as the Qt player's and as high as its button row.
void MciPlayer::CreatePlayerWindow(const std::string& title, bool with_video, SIZE video) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RegisterClasses(ObjectWindowProcedure<MciPlayer, &MciPlayer::window_, &MciPlayer::HandleMessage>, VideoProcedure);
  HDC screen = ::GetDC(nullptr);
  dpi_ = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const DWORD style = with_video ? kStyle | WS_THICKFRAME | WS_MAXIMIZEBOX : kStyle;
  const int row = Scaled(kButtonHeight + 2 * kMargin);
  SIZE client{Scaled(kSoundWindowWidth), row};
  if (with_video) {
    const RECT work = WorkAreaNear(owner_);
    const SIZE room{(work.right - work.left) * 8 / 10, (work.bottom - work.top) * 8 / 10 - row};
    video_size_ = video.cx > 0 && video.cy > 0 ? video : kDefaultVideo;
    const SIZE shown = FitWithin(video_size_, room);
    client = {std::max<LONG>(shown.cx + Scaled(2 * kMargin), client.cx), shown.cy + Scaled(kMargin) + row};
  }
  RECT frame{0, 0, client.cx, client.cy};
  ::AdjustWindowRectEx(&frame, style, FALSE, 0);
  ::CreateWindowExW(0, kWindowClass, DisplayText(title).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, owner_, nullptr, instance, this);
  if (window_ == nullptr) return;
  font_ = MessageFont();
  stop_ = ::CreateWindowExW(0, L"BUTTON", DisplayText(desktop::kPlayerStopCaption).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStopButtonId)), instance, nullptr);
  ::SendMessageW(stop_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (with_video)
    video_ = ::CreateWindowExW(0, kVideoClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, window_,
                               nullptr, instance, this);
  PlaceControls();
}

// The picture area fills the window above the button row; the video keeps its proportions
// inside it, centred.
void MciPlayer::PlaceControls() {
  if (window_ == nullptr) return;
  RECT client;
  ::GetClientRect(window_, &client);
  const int margin = Scaled(kMargin), button_height = Scaled(kButtonHeight);
  const int row_top = client.bottom - margin - button_height;
  ::MoveWindow(stop_, margin, row_top, Scaled(kButtonWidth), button_height, TRUE);
  if (video_ == nullptr) return;
  const SIZE area{std::max<LONG>(1, client.right - 2 * margin), std::max<LONG>(1, row_top - 2 * margin)};
  ::MoveWindow(video_, margin, margin, area.cx, area.cy, TRUE);
  if (!open_ || video_size_.cx <= 0 || video_size_.cy <= 0) return;
  const double scale = std::min(static_cast<double>(area.cx) / video_size_.cx, static_cast<double>(area.cy) / video_size_.cy);
  const LONG width = std::max(1L, static_cast<LONG>(video_size_.cx * scale));
  const LONG height = std::max(1L, static_cast<LONG>(video_size_.cy * scale));
  SendCommand(OnDevice(L"put", (L"destination at " + std::to_wstring((area.cx - width) / 2) + L" " +
                                std::to_wstring((area.cy - height) / 2) + L" " + std::to_wstring(width) + L" " +
                                std::to_wstring(height))
                                   .c_str()));
  ::InvalidateRect(video_, nullptr, TRUE);
}

// The device repaints its current frame; around it, and without a device, the area is black.
void MciPlayer::PaintVideo(HWND area) {
  PAINTSTRUCT paint;
  HDC context = ::BeginPaint(area, &paint);
  RECT client;
  ::GetClientRect(area, &client);
  ::FillRect(context, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  if (open_) {
    MCI_DGV_UPDATE_PARMS update{};
    update.hDC = context;
    update.rc = client;
    ::mciSendCommandW(device_, MCI_UPDATE, MCI_DGV_UPDATE_HDC | MCI_DGV_UPDATE_PAINT, reinterpret_cast<DWORD_PTR>(&update));
  }
  ::EndPaint(area, &paint);
}

LRESULT CALLBACK MciPlayer::VideoProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE)
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
  auto* self = reinterpret_cast<MciPlayer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_PAINT && self != nullptr) {
    self->PaintVideo(window);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;  // painted whole in WM_PAINT
  return ::DefWindowProcW(window, message, wparam, lparam);
}

LRESULT MciPlayer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND window = window_;
  switch (message) {
    case WM_SIZE:
      PlaceControls();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kStopButtonId && HIWORD(wparam) == BN_CLICKED) Stop();
      return 0;
    case MM_MCINOTIFY:
      // The open device's play has ended: run through, failed, or stopped (a play superseded
      // by another goes on).
      if (wparam != MCI_NOTIFY_SUPERSEDED && open_ && static_cast<UINT>(lparam) == device_) playing_ = false;
      return 0;
    case WM_CLOSE: {
      // The user's closing: the device and the window go, then the presenter learns of it.
      Close();
      if (window_closed_) window_closed_();
      return 0;
    }
    case WM_NCDESTROY:
      // Also with the owner, when the main window goes without closing the player first.
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = video_ = stop_ = nullptr;
      CloseDevice();
      ::DeleteObject(font_);
      font_ = nullptr;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace rsf::win32
