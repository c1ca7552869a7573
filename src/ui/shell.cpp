// The shell through Qt's desktop services.
#include "ui/shell.h"

#include <QDesktopServices>

namespace rsf::ui {

bool QtShell::Open(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace rsf::ui
