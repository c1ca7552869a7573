// The outside world as the main window reaches it: message boxes, file dialogs, the shell,
// file deletion, the media player and the temporary folder. The program passes the real
// ones; tests pass doubles that answer for the user.
#pragma once

#include <memory>

#include "desktop/media_player.h"
#include "desktop/temporary_copies.h"
#include "desktop/temporary_folder.h"
#include "ui/services/file_dialogs.h"
#include "ui/services/message_boxes.h"
#include "ui/services/shell.h"

namespace rsf::ui {

struct FormServices {
  std::unique_ptr<MessageBoxes> boxes;
  std::unique_ptr<FileDialogs> dialogs;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<desktop::FileDeleter> deleter;
  std::unique_ptr<desktop::MediaPlayer> player;
  std::unique_ptr<desktop::TemporaryFolder> temporary_folder;

  // The real services; the media player needs the application object to exist.
  static FormServices Platform();
};

}  // namespace rsf::ui
