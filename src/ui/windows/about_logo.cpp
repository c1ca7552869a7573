// Painting of the logo on a 117 x 115 grid.
#include "ui/windows/about_logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace rsf::ui {
namespace {

void FilmStrip(QPainter& p) {
  p.save();
  p.translate(8, 22);
  p.rotate(-12);
  const QRectF strip(0, 0, 96, 40);
  p.setPen(QPen(QColor(20, 20, 30), 1));
  p.setBrush(QColor(45, 45, 55));
  p.drawRoundedRect(strip, 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(235, 235, 225));
  for (int i = 0; i < 9; ++i) {
    p.drawRect(QRectF(4 + i * 10.5, 3, 5, 4));
    p.drawRect(QRectF(4 + i * 10.5, 33, 5, 4));
  }
  const QColor frames[] = {QColor(90, 160, 220), QColor(230, 170, 60), QColor(120, 190, 110)};
  for (int i = 0; i < 3; ++i) {
    QLinearGradient sky(0, 10, 0, 30);
    sky.setColorAt(0, frames[i].lighter(140));
    sky.setColorAt(1, frames[i]);
    p.setBrush(sky);
    p.drawRect(QRectF(5 + i * 30.5, 10, 26, 20));
  }
  p.restore();
}

void Magnifier(QPainter& p) {
  p.setPen(QPen(QColor(110, 60, 20), 9, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(78, 78), QPointF(104, 104));
  QRadialGradient glass(QPointF(52, 50), 30);
  glass.setColorAt(0, QColor(255, 255, 255, 90));
  glass.setColorAt(1, QColor(170, 210, 250, 150));
  p.setPen(QPen(QColor(60, 60, 70), 5));
  p.setBrush(glass);
  p.drawEllipse(QPointF(58, 56), 27, 27);
  p.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(40, 38, 36, 36), 100 * 16, 70 * 16);
}

void Letters(QPainter& p) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(20);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(24, 48, 66));
  p.drawText(QRectF(0, 92, 80, 23), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("RSF"));
}

}  // namespace

QPixmap AboutLogo(qreal device_pixel_ratio) {
  QPixmap logo(static_cast<int>(kLogoWidth * device_pixel_ratio), static_cast<int>(kLogoHeight * device_pixel_ratio));
  logo.setDevicePixelRatio(device_pixel_ratio);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  FilmStrip(painter);
  Magnifier(painter);
  Letters(painter);
  return logo;
}

}  // namespace rsf::ui
