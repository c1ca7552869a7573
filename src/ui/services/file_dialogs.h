// The file-open and file-save dialogs, behind an interface so that tests can answer them.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace rsf::ui {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen file's full path, or nothing when the user cancels.
  virtual std::optional<QString> OpenFile(QWidget* owner) = 0;
  virtual std::optional<QString> SaveFile(QWidget* owner) = 0;
};

// The platform's dialogs with their default settings: no filter, no title of our own, no
// default extension, no question before choosing an existing file.
class QtFileDialogs final : public FileDialogs {
 public:
  std::optional<QString> OpenFile(QWidget* owner) override;
  std::optional<QString> SaveFile(QWidget* owner) override;
};

}  // namespace rsf::ui
