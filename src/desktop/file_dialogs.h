// The file-open and file-save dialogs, behind an interface so that each toolkit shows its own
// (modal to the main window) and tests answer them.
#pragma once

#include <optional>
#include <string>

namespace rsf::desktop {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen file's full path in the platform's own spelling (UTF-8), or nothing when the
  // user cancels.
  virtual std::optional<std::string> ChooseSourceFile() = 0;
  virtual std::optional<std::string> ChooseTargetFile() = 0;
};

}  // namespace rsf::desktop
