// Every Open makes a fresh QMediaPlayer and its window, and Close destroys them, so that a
// closed device holds no file and leaves no window behind. Open waits in a local event loop
// that leaves out user input (no second command can start meanwhile); the loop ends when the
// media is loaded, refused, or the limit has passed.
#include "ui/services/qt_media_player.h"

#include <QApplication>
#include <QAudioOutput>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoWidget>

#include "ui/display_text.h"
#include "ui/windows/player_window.h"

namespace rsf::ui {
namespace {

bool Loaded(QMediaPlayer::MediaStatus status) {
  return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia ||
         status == QMediaPlayer::BufferedMedia;
}

}  // namespace

QtMediaPlayer::QtMediaPlayer(std::chrono::milliseconds open_limit) : open_limit_(open_limit) {}

QtMediaPlayer::~QtMediaPlayer() { Close(); }

void QtMediaPlayer::Open(const std::string& path, const std::string& title) {
  Close();
  audio_ = std::make_unique<QAudioOutput>();
  player_ = std::make_unique<QMediaPlayer>();
  player_->setAudioOutput(audio_.get());
  player_->setSource(QUrl::fromLocalFile(PathFromLocal(path)));
  const QString refusal = AwaitLoad();
  if (!refusal.isEmpty()) {
    Close();
    throw MediaDeviceError(refusal.toStdString());
  }
  window_ = std::make_unique<PlayerWindow>(*player_, QString::fromStdString(title), player_->hasVideo());
  window_->SetOnClosed([this] {
    if (window_closed_) window_closed_();
  });
  if (window_->VideoArea() != nullptr) player_->setVideoOutput(window_->VideoArea());
}

bool QtMediaPlayer::IsPlaying() const {
  return player_ != nullptr && player_->playbackState() == QMediaPlayer::PlayingState;
}

QString QtMediaPlayer::AwaitLoad() {
  QMediaPlayer& player = *player_;
  if (Loaded(player.mediaStatus())) return {};
  QString refusal;
  bool settled = false;
  QEventLoop loop;
  auto settle = [&](const QString& text) {
    if (settled) return;
    settled = true;
    refusal = text;
    loop.quit();
  };
  QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &loop, [&](QMediaPlayer::MediaStatus status) {
    if (Loaded(status)) settle({});
    if (status == QMediaPlayer::InvalidMedia)
      settle(player.errorString().isEmpty() ? QStringLiteral("无效的媒体") : player.errorString());
  });
  QObject::connect(&player, &QMediaPlayer::errorOccurred, &loop,
                   [&](QMediaPlayer::Error, const QString& text) { settle(text.isEmpty() ? QStringLiteral("媒体设备错误") : text); });
  QTimer::singleShot(open_limit_, &loop, [&] { settle(QStringLiteral("媒体设备没有应答")); });
  if (player.error() != QMediaPlayer::NoError) settle(player.errorString());
  if (player.mediaStatus() == QMediaPlayer::InvalidMedia) settle(QStringLiteral("无效的媒体"));
  if (!settled) {
    abort_load_ = [&] { settle(QStringLiteral("媒体设备已关闭")); };
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    abort_load_ = nullptr;
  }
  return refusal;
}

void QtMediaPlayer::Play() {
  if (!player_) return;
  window_->ShowOver(QApplication::activeWindow());
  player_->setPosition(0);
  player_->play();
}

void QtMediaPlayer::Close() {
  if (abort_load_) {
    abort_load_();
    return;
  }
  if (player_) {
    player_->stop();
    player_->setSource(QUrl());
  }
  // The window goes first: it watches the player. Its closing here is the program's own doing.
  if (window_) window_->SetOnClosed(nullptr);
  window_.reset();
  player_.reset();
  audio_.reset();
}

}  // namespace rsf::ui
