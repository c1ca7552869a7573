// Rasterised shapes into a QImage, texts with QPainter.
#include "ui/widgets/vector_pixmap.h"

#include <QFont>
#include <QImage>
#include <QPainter>

namespace rsf::ui {

QPixmap VectorPixmap(const desktop::VectorPicture& picture, int scale) {
  const desktop::RgbaImage shapes = desktop::Rasterize(picture, scale);
  QImage image(shapes.width, shapes.height, QImage::Format_RGBA8888);
  for (int y = 0; y < shapes.height; ++y)
    std::copy_n(&shapes.pixels[static_cast<std::size_t>(y) * shapes.width * 4], shapes.width * 4, image.scanLine(y));
  image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    for (const desktop::PictureText& text : picture.texts) {
      QFont font = text.family.empty() ? QFont() : QFont(QString::fromStdString(text.family));
      font.setPixelSize(static_cast<int>(text.pixel_size));
      font.setBold(text.bold);
      painter.setFont(font);
      painter.setPen(QColor(text.colour.red, text.colour.green, text.colour.blue, text.colour.alpha));
      const Qt::Alignment align = text.align == desktop::PictureText::Align::kCentre ? Qt::AlignCenter
                                                                                    : Qt::AlignLeft | Qt::AlignVCenter;
      painter.drawText(QRectF(text.box.left, text.box.top, text.box.width, text.box.height), align,
                       QString::fromStdString(text.text));
    }
  }
  QPixmap pixmap = QPixmap::fromImage(image);
  pixmap.setDevicePixelRatio(scale);
  return pixmap;
}

}  // namespace rsf::ui
