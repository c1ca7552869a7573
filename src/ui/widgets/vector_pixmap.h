// The desktop core's vector pictures as Qt pixmaps: the shapes as the core rasterises them, the
// texts drawn over them with Qt's fonts.
#pragma once

#include <QPixmap>

#include "desktop/vector_picture.h"

namespace rsf::ui {

// `scale` device pixels per picture unit; the pixmap's device pixel ratio is the scale.
QPixmap VectorPixmap(const desktop::VectorPicture& picture, int scale);

}  // namespace rsf::ui
