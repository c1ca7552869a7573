// Painting of the gauge: sunken frame, navy fill, percentage in black over the empty part and
// in white over the fill.
#include "ui/widgets/gauge.h"

#include <QPainter>
#include <algorithm>
#include <qdrawutil.h>

namespace rsf::ui {

Gauge::Gauge(QWidget* parent) : QWidget(parent) {}

void Gauge::SetMaximum(std::int64_t maximum) {
  maximum_ = maximum;
  update();
}

void Gauge::SetProgress(std::int64_t progress) {
  progress_ = progress;
  update();
}

int Gauge::PercentDone() const {
  if (maximum_ <= 0) return 0;
  const std::int64_t clamped = std::clamp<std::int64_t>(progress_, 0, maximum_);
  return static_cast<int>(clamped * 100 / maximum_);
}

void Gauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  qDrawShadePanel(&painter, rect(), palette(), /*sunken=*/true, 1);
  const QRect inside = rect().adjusted(1, 1, -1, -1);
  painter.fillRect(inside, Qt::white);
  QRect filled = inside;
  filled.setWidth(inside.width() * PercentDone() / 100);
  painter.fillRect(filled, QColor(0, 0, 128));

  const QString text = QString::number(PercentDone()) + QLatin1Char('%');
  painter.setClipRect(inside);
  painter.setPen(Qt::black);
  painter.drawText(inside, Qt::AlignCenter, text);
  painter.setClipRect(filled);
  painter.setPen(Qt::white);
  painter.drawText(inside, Qt::AlignCenter, text);
}

}  // namespace rsf::ui
