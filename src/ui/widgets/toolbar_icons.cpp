// Each command picture rendered at both scales.
#include "ui/widgets/toolbar_icons.h"

#include "desktop/command_pictures.h"
#include "ui/widgets/vector_pixmap.h"

namespace rsf::ui {

QIcon ToolbarIcon(int picture) {
  const desktop::VectorPicture drawing = desktop::CommandPictureDrawing(picture);
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap = VectorPixmap(drawing, scale);
    pixmap.setDevicePixelRatio(1);  // an icon picks its pixmap by size
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace rsf::ui
