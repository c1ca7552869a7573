// Every Open makes a fresh QMediaPlayer and its window, and Close destroys them, so that a
// closed device holds no file and leaves no window behind. Open waits in a local event loop
// that leaves out user input (no second command can start meanwhile); the loop ends when the
// media is loaded, refused, or the limit has passed.
//
// A video plays without an audio output where no sound device exists: there the FFmpeg media
// backend holds the picture back for the sound it cannot play (Qt 6.4's ends the program). A
// sound keeps its output, by which the GStreamer backend paces it (it plays nothing without
// one). An audio output that fails costs the sound, not the clip: the clip is loaded anew
// without it.
#include "ui/services/qt_media_player.h"

#include <QApplication>
#include <QAudioOutput>
#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
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

// A resource error while an audio output is attached: the output (a device gone or refusing) is
// taken to be at fault.
bool AudioOutputFailed(QMediaPlayer::Error error, const QAudioOutput* audio) {
  return error == QMediaPlayer::ResourceError && audio != nullptr;
}

}  // namespace

QtMediaPlayer::QtMediaPlayer(std::chrono::milliseconds open_limit) : open_limit_(open_limit) {}

QtMediaPlayer::~QtMediaPlayer() { Close(); }

void QtMediaPlayer::Open(const std::string& path, const std::string& title) {
  Close();
  audio_ = std::make_unique<QAudioOutput>();
  player_ = std::make_unique<QMediaPlayer>();
  player_->setAudioOutput(audio_.get());
  QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, player_.get(), [this](QMediaPlayer::Error error) {
    if (AudioOutputFailed(error, audio_.get()))
      QMetaObject::invokeMethod(player_.get(), [this] { ReopenWithoutSound(); }, Qt::QueuedConnection);
  });
  player_->setSource(QUrl::fromLocalFile(PathFromLocal(path)));
  const QString refusal = AwaitLoad();
  if (!refusal.isEmpty()) {
    Close();
    throw MediaDeviceError(refusal.toStdString());
  }
  if (player_->hasVideo() && QMediaDevices::defaultAudioOutput().isNull()) DropAudioOutput();
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
  QObject::connect(&player, &QMediaPlayer::errorOccurred, &loop, [&](QMediaPlayer::Error error, const QString& text) {
    if (AudioOutputFailed(error, audio_.get())) return;  // the load goes on without sound
    settle(text.isEmpty() ? QStringLiteral("媒体设备错误") : text);
  });
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

void QtMediaPlayer::DropAudioOutput() {
  player_->setAudioOutput(nullptr);
  audio_.reset();
}

void QtMediaPlayer::ReopenWithoutSound() {
  if (!player_ || !audio_) return;
  const QUrl source = player_->source();
  DropAudioOutput();
  player_->setSource(QUrl());
  player_->setSource(source);
  // A clip whose window is up was playing: it plays on, from its start.
  if (window_ && window_->isVisible()) player_->play();
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
