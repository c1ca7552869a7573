// Two one-pixel bevels drawn with the palette's light and dark shades.
#include "ui/widgets/bevel_panel.h"

#include <QPainter>
#include <qdrawutil.h>

namespace rsf::ui {

BevelPanel::BevelPanel(QWidget* parent) : QFrame(parent) { setContentsMargins(2, 2, 2, 2); }

void BevelPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  qDrawShadePanel(&painter, rect(), palette(), /*sunken=*/true, 1);
  qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), /*sunken=*/false, 1);
}

}  // namespace rsf::ui
