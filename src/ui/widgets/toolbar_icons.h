// The command pictures (desktop/command_pictures.h) as icons, sharp at one and two device pixels
// per point.
#pragma once

#include <QIcon>

namespace rsf::ui {

QIcon ToolbarIcon(int picture);

}  // namespace rsf::ui
