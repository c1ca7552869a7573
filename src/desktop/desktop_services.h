// The outside world as the desktop core reaches it: message boxes, file dialogs, the shell,
// file deletion, the media player, the picture window and the temporary folder. Each front end
// passes its own; tests pass doubles that answer for the user.
#pragma once

#include "desktop/file_dialogs.h"
#include "desktop/media_player.h"
#include "desktop/message_boxes.h"
#include "desktop/picture_view.h"
#include "desktop/shell.h"
#include "desktop/temporary_copies.h"
#include "desktop/temporary_folder.h"

namespace rsf::desktop {

struct DesktopServices {
  MessageBoxes& boxes;
  FileDialogs& dialogs;
  Shell& shell;
  FileDeleter& deleter;
  MediaPlayer& player;
  PictureView& pictures;
  TemporaryFolder& temporary_folder;
};

}  // namespace rsf::desktop
