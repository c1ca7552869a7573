// Every Open makes a fresh QMediaPlayer, and Close destroys it, so that a closed device holds
// no file. Open waits in a local event loop that leaves out user input (no second command can
// start meanwhile); the loop ends when the media is loaded, refused, or the limit has passed.
#include "ui/qt_media_player.h"

#include <QAudioOutput>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoSink>
#include <QVideoWidget>

#include "ui/display_text.h"

namespace rsf::ui {
namespace {

constexpr QSize kDefaultVideoSize(320, 240);

// Closing the video window stops the playing; the device stays open until playback closes it.
class StopOnClose final : public QObject {
 public:
  StopOnClose(QMediaPlayer& player, QObject* parent) : QObject(parent), player_(player) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) player_.stop();
    return QObject::eventFilter(watched, event);
  }

 private:
  QMediaPlayer& player_;
};

bool Loaded(QMediaPlayer::MediaStatus status) {
  return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia ||
         status == QMediaPlayer::BufferedMedia;
}

}  // namespace

QtMediaPlayer::QtMediaPlayer(std::chrono::milliseconds open_limit) : open_limit_(open_limit) {}

QtMediaPlayer::~QtMediaPlayer() { Close(); }

void QtMediaPlayer::Open(const std::string& path) {
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
  if (!player_->hasVideo()) return;

  video_ = std::make_unique<QVideoWidget>();
  video_->setObjectName(QStringLiteral("MediaPlayer1Display"));
  video_->setWindowTitle(QFileInfo(PathFromLocal(path)).fileName());
  const QSize resolution = player_->metaData().value(QMediaMetaData::Resolution).toSize();
  video_->resize(resolution.isValid() && !resolution.isEmpty() ? resolution : kDefaultVideoSize);
  QObject::connect(video_->videoSink(), &QVideoSink::videoSizeChanged, video_.get(), [video = video_.get()] {
    const QSize size = video->videoSink()->videoSize();
    if (size.isValid() && !size.isEmpty()) video->resize(size);
  });
  video_->installEventFilter(new StopOnClose(*player_, video_.get()));
  player_->setVideoOutput(video_.get());
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
  if (video_) {
    video_->show();
    video_->raise();
  }
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
  player_.reset();
  audio_.reset();
  video_.reset();
}

}  // namespace rsf::ui
