// Qt file dialogs for the source and the target.
#include "ui/services/file_dialogs.h"

#include <QDir>
#include <QFileDialog>

#include "desktop/source_file_filters.h"
#include "ui/display_text.h"

namespace rsf::ui {

QString SourceDialogFilters() {
  QStringList filters;
  for (const desktop::FileFilter& filter : desktop::kSourceFileFilters)
    filters << QString::fromUtf8(filter.name.data(), static_cast<qsizetype>(filter.name.size())) + " (" +
                   QString::fromUtf8(filter.patterns.data(), static_cast<qsizetype>(filter.patterns.size())) + ")";
  return filters.join(";;");
}

std::optional<QString> QtFileDialogs::OpenFile(QWidget* owner) {
  const QString path = QFileDialog::getOpenFileName(owner, QString(), QString(), SourceDialogFilters());
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

namespace {

// Qt's dialogs hand back "/" on every platform; the core splits what the platform itself writes.
std::optional<std::string> NativePath(const std::optional<QString>& chosen) {
  if (!chosen) return std::nullopt;
  return LocalPath(QDir::toNativeSeparators(*chosen));
}

}  // namespace

std::optional<std::string> OwnedFileDialogs::ChooseSourceFile() { return NativePath(dialogs_.OpenFile(owner_)); }

std::optional<std::string> OwnedFileDialogs::ChooseTargetFile() { return NativePath(dialogs_.SaveFile(owner_)); }

}  // namespace rsf::ui
