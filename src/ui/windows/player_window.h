// The small window the built-in player plays in: the picture of a video (none for sound), a
// stop button and the position. Its title names the clip ("文件 #15  WAV 音频"); closing it
// stops the playing.
#pragma once

#include <QWidget>
#include <functional>

class QHBoxLayout;
class QLabel;
class QMediaPlayer;
class QPushButton;
class QSlider;
class QVideoWidget;

namespace rsf::ui {

class PlayerWindow final : public QWidget {
 public:
  // `with_video`: the window holds a picture area for the player's video output.
  PlayerWindow(QMediaPlayer& player, const QString& title, bool with_video);

  QVideoWidget* VideoArea() const { return video_; }
  // Shows the window, centred over `owner` the first time (when there is one).
  void ShowOver(const QWidget* owner);
  QPushButton* StopButton() const { return stop_; }
  QSlider* PositionSlider() const { return position_; }
  // Called whenever the window closes (the main window then shows that playing is over).
  void SetOnClosed(std::function<void()> closed) { on_closed_ = std::move(closed); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowPosition(qint64 position);
  void FitVideo();
  void FitTo(const QSize& video);

  QMediaPlayer& player_;
  QVideoWidget* video_ = nullptr;
  QPushButton* stop_ = nullptr;
  QSlider* position_ = nullptr;
  QLabel* time_ = nullptr;
  QSize fitted_;
  QHBoxLayout* controls_ = nullptr;
  std::function<void()> on_closed_;
};

}  // namespace rsf::ui
