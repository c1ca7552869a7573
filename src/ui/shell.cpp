// The shell: addresses through Qt's desktop services, documents through the platform layer,
// which can say why a document could not be opened.
#include "ui/shell.h"

#include <QDesktopServices>

#include "platform/shell_open.h"

namespace rsf::ui {

bool QtShell::Open(const QUrl& url) { return QDesktopServices::openUrl(url); }

std::uint32_t QtShell::OpenDocument(const std::string& path) { return platform::OpenWithAssociatedProgram(path); }

}  // namespace rsf::ui
