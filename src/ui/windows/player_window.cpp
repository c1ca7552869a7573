// The player window. The video's size is asked of the sink only from a queued call: the
// media services emit the sink's size change while they hold its lock, and asking the sink
// from inside that signal waits for the lock for ever.
#include "ui/windows/player_window.h"

#include <QCloseEvent>
#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>
#include <QVideoSink>
#include <QVideoWidget>

#include "desktop/window_texts.h"
#include "ui/display_text.h"

namespace rsf::ui {
namespace {

constexpr QSize kDefaultVideoSize(320, 240);
constexpr QSize kSmallestVideo(160, 120);
constexpr int kSoundWindowWidth = 320;

QString TimeText(qint64 milliseconds) {
  const qint64 seconds = milliseconds / 1000;
  return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

PlayerWindow::PlayerWindow(QMediaPlayer& player, const QString& title, bool with_video)
    : QWidget(nullptr, Qt::Window), player_(player) {
  setObjectName(QStringLiteral("MediaPlayer1Display"));
  setWindowTitle(title);
  setAttribute(Qt::WA_QuitOnClose, false);  // never what keeps the program running
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  if (with_video) {
    video_ = new QVideoWidget(this);
    video_->setObjectName(QStringLiteral("VideoArea"));
    video_->setMinimumSize(kSmallestVideo);
    column->addWidget(video_, 1);
    QObject::connect(video_->videoSink(), &QVideoSink::videoSizeChanged, this, [this] { FitVideo(); },
                     Qt::QueuedConnection);
  }
  auto* controls = new QHBoxLayout;
  controls_ = controls;
  stop_ = new QPushButton(DisplayText(desktop::kPlayerStopCaption), this);
  stop_->setObjectName(QStringLiteral("StopButton"));
  position_ = new QSlider(Qt::Horizontal, this);
  position_->setObjectName(QStringLiteral("Position"));
  time_ = new QLabel(TimeText(0), this);
  controls->addWidget(stop_);
  controls->addWidget(position_, 1);
  controls->addWidget(time_);
  column->addLayout(controls);
  if (with_video) {
    const QSize resolution = player_.metaData().value(QMediaMetaData::Resolution).toSize();
    FitTo(resolution.isValid() && !resolution.isEmpty() ? resolution : kDefaultVideoSize);
  } else {
    resize(kSoundWindowWidth, sizeHint().height());
  }

  QObject::connect(stop_, &QPushButton::clicked, this, [this] { player_.stop(); });
  QObject::connect(&player_, &QMediaPlayer::durationChanged, this,
                   [this](qint64 duration) { position_->setRange(0, static_cast<int>(duration)); });
  QObject::connect(&player_, &QMediaPlayer::positionChanged, this, [this](qint64 position) { ShowPosition(position); });
  QObject::connect(position_, &QSlider::sliderMoved, this, [this](int position) { player_.setPosition(position); });
  // The player may know the duration before this window exists.
  position_->setRange(0, static_cast<int>(player_.duration()));
  ShowPosition(player_.position());
}

void PlayerWindow::ShowPosition(qint64 position) {
  if (!position_->isSliderDown()) position_->setValue(static_cast<int>(position));
  time_->setText(TimeText(position) + QStringLiteral(" / ") + TimeText(player_.duration()));
}

void PlayerWindow::FitVideo() {
  if (video_ == nullptr) return;
  const QSize size = video_->videoSink()->videoSize();
  if (size.isValid() && !size.isEmpty() && size != fitted_) FitTo(size);
}

// The window takes the video's own size, within most of the screen.
void PlayerWindow::FitTo(const QSize& video) {
  fitted_ = video;
  QSize room(1024, 768);
  if (const QScreen* screen = this->screen()) room = screen->availableSize() * 8 / 10;
  const QSize shown = video.boundedTo(room).expandedTo(kSmallestVideo);
  const QMargins margins = layout()->contentsMargins();
  resize(std::max(shown.width() + margins.left() + margins.right(), kSoundWindowWidth),
         shown.height() + margins.top() + margins.bottom() + layout()->spacing() + controls_->sizeHint().height());
}

void PlayerWindow::ShowOver(const QWidget* owner) {
  if (!isVisible() && owner != nullptr) {
    const QRect over = owner->frameGeometry();
    move(over.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
  player_.stop();
  QWidget::closeEvent(event);
  if (on_closed_) on_closed_();
}

}  // namespace rsf::ui
