// CD mode in the main window: UseCDModeExecute switches between the source field (file mode)
// and the drive list (CD mode), and a scan started in CD mode reads the disc in the selected
// drive. Installed into the window's hooks at program start; it sees of the window only what
// CdModeWindow offers.
#pragma once

#include <string>

class QComboBox;
class QWidget;

namespace rsf::ui {

class MessageBoxes;
struct FormHooks;

// What CD mode needs of the main window.
class CdModeWindow {
 public:
  virtual QWidget& Owner() = 0;
  virtual bool NTDeviceMode() const = 0;
  virtual void ClearClipList() = 0;
  // The drive list comboCDDRIVES.
  virtual QComboBox& DriveList() = 0;
  // CD mode shown or left: the action's check, the drive list in place of the source field and
  // its browse command, and files dropped on the window refused while it is on.
  virtual void ShowCdMode(bool on) = 0;

 protected:
  ~CdModeWindow() = default;
};

void BindCdMode(FormHooks& hooks, CdModeWindow& window, MessageBoxes& boxes);

// The drive entry of the selected item of the drive list, as drive discovery wrote it; empty
// without a selection.
std::string SelectedDriveEntry(const QComboBox& drives);

}  // namespace rsf::ui
