// The media player on Qt Multimedia: the media services choose how to play a file from its
// contents. Sound and video both play in a small window of their own, with a stop button.
#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <memory>

#include "desktop/media_player.h"

class QAudioOutput;
class QMediaPlayer;

namespace rsf::ui {

class PlayerWindow;
using desktop::MediaDeviceError;

class QtMediaPlayer final : public desktop::MediaPlayer {
 public:
  // `open_limit`: how long Open waits for the media services to load a file.
  explicit QtMediaPlayer(std::chrono::milliseconds open_limit = std::chrono::seconds(10));
  ~QtMediaPlayer() override;

  void Open(const std::string& path, const std::string& title) override;
  void Play() override;
  void Close() override;
  void SetWindowClosedHandler(std::function<void()> closed) override { window_closed_ = std::move(closed); }

  // The window the clip plays in; null while nothing is open.
  PlayerWindow* Window() const { return window_.get(); }
  bool IsOpen() const { return player_ != nullptr; }
  bool IsPlaying() const;

 private:
  // Waits for the load to settle; returns the refusal text, empty when the media loaded.
  QString AwaitLoad();
  void DropAudioOutput();
  // Drops the audio output and loads the clip anew without it.
  void ReopenWithoutSound();

  std::chrono::milliseconds open_limit_;
  // Set while Open waits: Close then ends the wait instead of destroying the player under it.
  std::function<void()> abort_load_;
  std::function<void()> window_closed_;
  std::unique_ptr<QAudioOutput> audio_;  // none once dropped
  std::unique_ptr<QMediaPlayer> player_;
  std::unique_ptr<PlayerWindow> window_;
};

}  // namespace rsf::ui
