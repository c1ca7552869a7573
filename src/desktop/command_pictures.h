// The pictures of the commands (tool bar, menus, the window's icon) and the About window's logo,
// for every front end. The command pictures are drawn on a 16 x 16 grid, the logo on 117 x 115.
#pragma once

#include "desktop/vector_picture.h"

namespace rsf::desktop {

// Numbered as the commands refer to them.
enum CommandPicture : int {
  kPictureOpenSource = 0,
  kPictureDocument = 1,
  kPictureAbout = 2,
  kPictureSelectAll = 3,
  kPictureUnSelectAll = 4,
  kPictureStartAnalysis = 5,
  kPictureCdMode = 6,
  kPictureSelectTarget = 7,
  kPictureSaveClips = 8,
  kPictureHelp = 9,
  kPicturePlay = 10,
};
inline constexpr int kCommandPictureCount = 11;

VectorPicture CommandPictureDrawing(int picture);

// A strip of film under a magnifying glass, the program's business of finding clips inside
// larger files, over the letters "RSF".
inline constexpr int kLogoWidth = 117;
inline constexpr int kLogoHeight = 115;
VectorPicture AboutLogoDrawing();

}  // namespace rsf::desktop
