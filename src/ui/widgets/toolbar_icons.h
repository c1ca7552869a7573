// The eleven 16 x 16 pictures of the commands, drawn in code so that they stay sharp at any
// screen scale. Numbered as the actions refer to them.
#pragma once

#include <QIcon>

namespace rsf::ui {

enum ToolbarImage : int {
  kImageOpenSource = 0,
  kImageDocument = 1,
  kImageAbout = 2,
  kImageSelectAll = 3,
  kImageUnSelectAll = 4,
  kImageStartAnalysis = 5,
  kImageCdMode = 6,
  kImageSelectTarget = 7,
  kImageSaveClips = 8,
  kImageHelp = 9,
  kImagePlay = 10,
};

QIcon ToolbarIcon(int image);

}  // namespace rsf::ui
