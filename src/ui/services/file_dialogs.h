// The file-open and file-save dialogs, behind an interface so that tests can answer them, and
// the desktop core's dialogs shown through them.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "desktop/file_dialogs.h"

class QWidget;

namespace rsf::ui {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen file's full path, or nothing when the user cancels.
  virtual std::optional<QString> OpenFile(QWidget* owner) = 0;
  virtual std::optional<QString> SaveFile(QWidget* owner) = 0;
};

// The source dialog's filters in Qt's spelling: "所有文件 (*);;光盘映像 (*.cue *.bin *.img)".
QString SourceDialogFilters();

// The platform's dialogs with their default settings but for the source dialog's filters (every
// file by default, or the disc images): no title of our own, no default extension, no question
// before choosing an existing file.
class QtFileDialogs final : public FileDialogs {
 public:
  std::optional<QString> OpenFile(QWidget* owner) override;
  std::optional<QString> SaveFile(QWidget* owner) override;
};

// The desktop core's dialogs, shown through `dialogs` modal to `owner`; the chosen paths in the
// platform's own spelling.
class OwnedFileDialogs final : public desktop::FileDialogs {
 public:
  OwnedFileDialogs(ui::FileDialogs& dialogs, QWidget* owner) : dialogs_(dialogs), owner_(owner) {}
  std::optional<std::string> ChooseSourceFile() override;
  std::optional<std::string> ChooseTargetFile() override;

 private:
  ui::FileDialogs& dialogs_;
  QWidget* owner_;
};

}  // namespace rsf::ui
