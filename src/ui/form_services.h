// The outside world as the main window reaches it: message boxes, file dialogs, the shell and
// file deletion. The program passes the real ones; tests pass doubles that answer for the user.
#pragma once

#include <memory>

#include "ui/file_dialogs.h"
#include "ui/message_boxes.h"
#include "ui/shell.h"
#include "ui/temporary_files.h"

namespace rsf::ui {

struct FormServices {
  std::unique_ptr<MessageBoxes> boxes;
  std::unique_ptr<FileDialogs> dialogs;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<FileDeleter> deleter;

  static FormServices Platform() {
    return {std::make_unique<QtMessageBoxes>(), std::make_unique<QtFileDialogs>(), std::make_unique<QtShell>(),
            std::make_unique<PlatformFileDeleter>()};
  }
};

}  // namespace rsf::ui
