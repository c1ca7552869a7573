// The internal playback this program does not have yet: a media player that refuses every file
// and a picture window that shows none, so that playback hands each clip to the shell.
#pragma once

#include "desktop/media_player.h"
#include "desktop/picture_view.h"

namespace rsf::win32 {

class NoMediaPlayer final : public desktop::MediaPlayer {
 public:
  void Open(const std::string& path, const std::string& title) override {
    (void)title;
    throw desktop::MediaDeviceError("no internal player for " + path);
  }
  void Play() override {}
  void Close() override {}
};

class NoPictureView final : public desktop::PictureView {
 public:
  bool ShowPictureFile(const std::string& path) override {
    (void)path;
    return false;
  }
  void HidePicture() override {}
  void ClosePicture() override {}
  void SetPictureClosedHandler(std::function<void()> closed) override { (void)closed; }
};

}  // namespace rsf::win32
