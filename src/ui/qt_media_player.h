// The media player on Qt Multimedia: the media services choose how to play a file from its
// contents. Sound plays without a window; video gets a plain window of its own.
#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <memory>

#include "ui/media_player.h"

class QAudioOutput;
class QMediaPlayer;
class QVideoWidget;

namespace rsf::ui {

class QtMediaPlayer final : public MediaPlayer {
 public:
  // `open_limit`: how long Open waits for the media services to load a file.
  explicit QtMediaPlayer(std::chrono::milliseconds open_limit = std::chrono::seconds(10));
  ~QtMediaPlayer() override;

  void Open(const std::string& path) override;
  void Play() override;
  void Close() override;

  // The window video plays in; null while no video is open.
  QVideoWidget* VideoWindow() const { return video_.get(); }
  bool IsOpen() const { return player_ != nullptr; }

 private:
  // Waits for the load to settle; returns the refusal text, empty when the media loaded.
  QString AwaitLoad();

  std::chrono::milliseconds open_limit_;
  // Set while Open waits: Close then ends the wait instead of destroying the player under it.
  std::function<void()> abort_load_;
  std::unique_ptr<QVideoWidget> video_;
  std::unique_ptr<QAudioOutput> audio_;
  std::unique_ptr<QMediaPlayer> player_;
};

}  // namespace rsf::ui
