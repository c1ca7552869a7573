// Qt file dialogs for the source and the target.
#include "ui/services/file_dialogs.h"

#include <QFileDialog>

namespace rsf::ui {

std::optional<QString> QtFileDialogs::OpenFile(QWidget* owner) {
  const QString path = QFileDialog::getOpenFileName(owner);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtFileDialogs::SaveFile(QWidget* owner) {
  // The chosen name is only a prefix for the clip files, so an existing file is no reason to ask.
  const QString path = QFileDialog::getSaveFileName(owner, QString(), QString(), QString(), nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

}  // namespace rsf::ui
