// CD mode in the main window: UseCDModeExecute switches between the source field (file mode)
// and the drive list comboCDDRIVES (CD mode), and a scan started in CD mode reads the disc in
// the selected drive. Installed into the window's hooks at program start.
#pragma once

#include <string>

class QComboBox;

namespace rsf::ui {

class MessageBoxes;
class TfrmMainForm;

void BindCdMode(TfrmMainForm& form, MessageBoxes& boxes);

// The drive entry of the selected item of the drive list, as drive discovery wrote it; empty
// without a selection.
std::string SelectedDriveEntry(const QComboBox& drives);

}  // namespace rsf::ui
