// The About window's logo (desktop/command_pictures.h) as a pixmap on a transparent ground.
#pragma once

#include <QPixmap>

#include "desktop/command_pictures.h"

namespace rsf::ui {

using desktop::kLogoHeight;
using desktop::kLogoWidth;

QPixmap AboutLogo(qreal device_pixel_ratio = 1.0);

}  // namespace rsf::ui
