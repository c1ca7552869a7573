// The real services of the desktop program.
#include "ui/services/form_services.h"

#include "ui/services/qt_media_player.h"

namespace rsf::ui {

FormServices FormServices::Platform() {
  return {std::make_unique<QtMessageBoxes>(),     std::make_unique<QtFileDialogs>(),
          std::make_unique<QtShell>(),            std::make_unique<desktop::PlatformFileDeleter>(),
          std::make_unique<QtMediaPlayer>(),      std::make_unique<desktop::PlatformTemporaryFolder>()};
}

}  // namespace rsf::ui
