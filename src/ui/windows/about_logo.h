// The logo of the About window: a strip of film under a magnifying glass, the program's
// business of finding clips inside larger files. Drawn in code on a transparent ground.
#pragma once

#include <QPixmap>

namespace rsf::ui {

inline constexpr int kLogoWidth = 117;
inline constexpr int kLogoHeight = 115;

QPixmap AboutLogo(qreal device_pixel_ratio = 1.0);

}  // namespace rsf::ui
