// Drawing of the command pictures on a 16 x 16 grid.
#include "ui/widgets/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace rsf::ui {
namespace {

const QColor kOutline(40, 40, 40);
const QColor kFolder(236, 190, 60);
const QColor kFolderDark(190, 140, 30);
const QColor kPaper(255, 255, 255);
const QColor kBlue(30, 80, 180);
const QColor kGreen(30, 150, 50);
const QColor kRed(200, 40, 40);

void Folder(QPainter& p) {
  p.setPen(QPen(kFolderDark, 1));
  p.setBrush(kFolder);
  QPainterPath path;
  path.moveTo(1.5, 3.5);
  path.lineTo(6.5, 3.5);
  path.lineTo(7.5, 5.5);
  path.lineTo(14.5, 5.5);
  path.lineTo(14.5, 13.5);
  path.lineTo(1.5, 13.5);
  path.closeSubpath();
  p.drawPath(path);
}

void Box(QPainter& p, QRectF box, bool ticked) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(kPaper);
  p.drawRect(box);
  if (!ticked) return;
  p.setPen(QPen(kGreen, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF{{box.left() + 1.5, box.center().y()},
                           {box.center().x() - 0.5, box.bottom() - 1.5},
                           {box.right() - 1.0, box.top() + 1.0}});
}

void TwoLines(QPainter& p, double top) {
  p.setPen(QPen(kOutline, 1));
  p.drawLine(QPointF(8.5, top + 3.5), QPointF(14.5, top + 3.5));
}

void Draw(QPainter& p, int image) {
  switch (image) {
    case kImageOpenSource: {
      Folder(p);
      p.setPen(QPen(kFolderDark, 1));
      p.setBrush(QColor(250, 220, 110));
      p.drawPolygon(QPolygonF{{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}});
      break;
    }
    case kImageDocument: {
      p.setPen(QPen(kOutline, 1));
      p.setBrush(kPaper);
      p.drawPolygon(QPolygonF{{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}});
      for (double y : {6.5, 9.0, 11.5}) p.drawLine(QPointF(5.5, y), QPointF(11.5, y));
      break;
    }
    case kImageAbout: {
      p.setPen(QPen(kBlue.darker(130), 1));
      p.setBrush(kBlue);
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(7, 3.5, 2, 2));
      p.drawRect(QRectF(7, 6.5, 2, 6));
      break;
    }
    case kImageSelectAll:
    case kImageUnSelectAll: {
      const bool ticked = image == kImageSelectAll;
      Box(p, QRectF(1.5, 1.5, 6, 6), ticked);
      Box(p, QRectF(1.5, 8.5, 6, 6), ticked);
      TwoLines(p, 1);
      TwoLines(p, 8);
      break;
    }
    case kImageStartAnalysis: {
      p.setPen(QPen(kOutline, 1));
      p.setBrush(QColor(200, 230, 255));
      p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
      p.setPen(QPen(QColor(120, 70, 20), 2.6, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
      p.setPen(QPen(Qt::white, 1.2));
      p.drawArc(QRectF(3.5, 3.5, 5, 5), 90 * 16, 90 * 16);
      break;
    }
    case kImageCdMode: {
      QRadialGradient shine(QPointF(6, 5), 9);
      shine.setColorAt(0, QColor(250, 250, 255));
      shine.setColorAt(0.5, QColor(190, 210, 240));
      shine.setColorAt(1, QColor(200, 170, 230));
      p.setPen(QPen(QColor(110, 110, 130), 1));
      p.setBrush(shine);
      p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
      p.setBrush(QColor(180, 180, 190));
      p.drawEllipse(QRectF(7, 7, 2, 2));
      break;
    }
    case kImageSelectTarget: {
      Folder(p);
      p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(8, 7.5), QPointF(8, 12.5));
      p.drawPolyline(QPolygonF{{5.5, 10}, {8, 12.5}, {10.5, 10}});
      break;
    }
    case kImageSaveClips: {
      p.setPen(QPen(QColor(20, 40, 90), 1));
      p.setBrush(kBlue);
      p.drawPolygon(QPolygonF{{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}});
      p.setBrush(kPaper);
      p.drawRect(QRectF(3.5, 1.5, 9, 5));
      p.setBrush(QColor(190, 190, 190));
      p.drawRect(QRectF(4.5, 9.5, 7, 5));
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawRect(QRectF(9.5, 2.5, 2, 3));
      break;
    }
    case kImageHelp: {
      p.setPen(QPen(QColor(20, 100, 40), 1));
      p.setBrush(QColor(255, 250, 200));
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      QFont font;
      font.setPixelSize(11);
      font.setBold(true);
      p.setFont(font);
      p.setPen(kBlue);
      p.drawText(QRectF(0, 1, 16, 15), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case kImagePlay: {
      p.setPen(QPen(kGreen.darker(140), 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
      p.setBrush(kGreen);
      p.drawPolygon(QPolygonF{{3.5, 1.5}, {14.5, 8}, {3.5, 14.5}});
      break;
    }
    default:
      break;
  }
}

QPixmap Render(int image, int scale) {
  QPixmap pixmap(16 * scale, 16 * scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(scale, scale);
  Draw(painter, image);
  return pixmap;
}

}  // namespace

QIcon ToolbarIcon(int image) {
  QIcon icon;
  icon.addPixmap(Render(image, 1));
  icon.addPixmap(Render(image, 2));
  return icon;
}

}  // namespace rsf::ui
