// The media player on the media control interface (winmm): MCI chooses the device for a file
// from its extension, as the Qt program's media services choose from the contents. The clip
// plays in a small window of its own, owned by the main window and titled with the clip: the
// video, when the device has one, above a stop button; a sound shows only the button. Closing
// the window or Close() closes the device; only the user's closing reports to the presenter.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "desktop/media_player.h"

namespace rsf::win32 {

class MciPlayer final : public desktop::MediaPlayer {
 public:
  // Whether Open refuses a sound while the system has no output of its kind. MCI opens a sound
  // without its output and fails only once playing, unseen; the program checks. Tests of the
  // window on a system without sound leave the check out.
  enum class SoundOutput { kChecked, kNotChecked };

  explicit MciPlayer(SoundOutput output = SoundOutput::kChecked) : output_(output) {}
  ~MciPlayer() override;
  MciPlayer(const MciPlayer&) = delete;
  MciPlayer& operator=(const MciPlayer&) = delete;

  // The main window the player's window belongs to and appears over; none before it exists.
  void SetOwner(HWND owner) { owner_ = owner; }

  // Opens the file with MCI's own choice of device (closing any open one) and makes the window,
  // hidden. Raises MediaDeviceError with MCI's text when no device takes the file, or when a
  // sound's device has no output to play it on.
  void Open(const std::string& path, const std::string& title) override;
  // Shows the window and plays from the start; MCI tells the window when the playing ends.
  void Play() override;
  void Close() override;
  void SetWindowClosedHandler(std::function<void()> closed) override { window_closed_ = std::move(closed); }

  bool IsOpen() const { return open_; }
  // The player's window; null while nothing is open.
  HWND Window() const { return window_; }
  // The window's picture area; null for a sound.
  HWND VideoArea() const { return video_; }
  HWND StopButton() const { return stop_; }
  // Playing, as far as the window knows: since Play, until the end, the stop button or Close.
  bool IsPlaying() const { return playing_; }
  // The open device's MCI identifier, which its notices carry; 0 while none is open.
  UINT Device() const { return device_; }

 private:
  static LRESULT CALLBACK VideoProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreatePlayerWindow(const std::string& title, bool with_video, SIZE video);
  void PlaceControls();
  void PaintVideo(HWND area);
  void Stop();
  void CloseDevice();
  void DestroyPlayerWindow();
  int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

  SoundOutput output_;
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  HWND video_ = nullptr;
  HWND stop_ = nullptr;
  HFONT font_ = nullptr;
  int dpi_ = 96;
  bool open_ = false;
  bool playing_ = false;
  UINT device_ = 0;
  SIZE video_size_{0, 0};
  std::function<void()> window_closed_;
};

}  // namespace rsf::win32
