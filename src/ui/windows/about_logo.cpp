// The logo at the screen's scale, rounded up to whole device pixels per point.
#include "ui/windows/about_logo.h"

#include <cmath>

#include "ui/widgets/vector_pixmap.h"

namespace rsf::ui {

QPixmap AboutLogo(qreal device_pixel_ratio) {
  return VectorPixmap(desktop::AboutLogoDrawing(), static_cast<int>(std::ceil(device_pixel_ratio)));
}

}  // namespace rsf::ui
