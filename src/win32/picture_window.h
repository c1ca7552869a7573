// The picture window as the desktop core's picture view: a picture clip's copy, decoded by WIC
// (win32/wic_picture.h), in a top-level window owned by the main window that stays on top, has
// only a close button, fits its client area to the picture (scaled down where the work area is
// smaller) and appears centred over the main window, as the Qt program's picture window does.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "desktop/picture_view.h"
#include "win32/wic_picture.h"

namespace rsf::win32 {

class PictureWindow final : public desktop::PictureView {
 public:
  PictureWindow() = default;
  ~PictureWindow() override;
  PictureWindow(const PictureWindow&) = delete;
  PictureWindow& operator=(const PictureWindow&) = delete;

  // The main window the picture window belongs to and is centred over; none before it exists.
  void SetOwner(HWND owner);
  // The window, made at the first picture; null before it and once its owner has destroyed it.
  HWND Handle() const { return window_; }
  // The size of the picture shown, 0 x 0 while none is, and the size it is painted at: its own,
  // or smaller where the work area is. (A window with a caption has a least width, which a
  // narrower picture leaves to the window's face colour on its right.)
  SIZE PictureSize() const;
  SIZE ShownSize() const { return shown_; }

  // --- desktop::PictureView ---
  bool ShowPictureFile(const std::string& path) override;
  void HidePicture() override;
  // Closes the window as its close box does (the closed handler runs), as the Qt window's close.
  void ClosePicture() override;
  void SetPictureClosedHandler(std::function<void()> closed) override { on_closed_ = std::move(closed); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateOnce();
  // The picture's size within the work area of the owner's screen.
  SIZE FittedSize() const;
  void CentreOverOwner();
  void Paint();
  void CloseWindow();

  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  std::optional<DecodedPicture> picture_;
  SIZE shown_{0, 0};
  std::function<void()> on_closed_;
};

}  // namespace rsf::win32
