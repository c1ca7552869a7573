// Entering CD mode asks the drives (raw devices or ASPI, by NTDeviceMode); leaving it asks
// nothing. The drive entries are kept byte for byte in the items' data, the shown text is for
// the eye only.
#include "ui/cd_mode_binding.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "cd/cd_mode.h"
#include "ui/check_list_box.h"
#include "ui/display_text.h"
#include "ui/main_form.h"
#include "ui/message_boxes.h"
#include "ui/window_texts.h"

namespace rsf::ui {
namespace {

void ShowSourceField(TfrmMainForm& form, bool file_mode) {
  form.comboCDDRIVES->setVisible(!file_mode);
  form.edtSourceFile->setVisible(file_mode);
  form.btnSourceBrowse->setVisible(file_mode);
  form.OpenSource->setEnabled(file_mode);
  form.SetDropsAccepted(file_mode);
}

void FillDriveList(QComboBox& drives, const std::vector<std::string>& entries) {
  drives.clear();
  for (const std::string& entry : entries)
    drives.addItem(PathFromLocal(entry), QByteArray::fromStdString(entry));
}

// `on`: the action's check state after the click, i.e. true when the window was in file mode.
void UseCDModeExecute(TfrmMainForm& form, bool on, MessageBoxes& boxes) {
  form.ClearClipList();
  if (!on) {
    form.UseCDMode->setChecked(false);
    ShowSourceField(form, true);
    return;
  }
  const CdDriveDiscovery found = DiscoverCdDrives(form.NTDeviceMode());
  if (found.warning != kNoAspiDriverWarning) FillDriveList(*form.comboCDDRIVES, found.entries);
  if (!found.warning.empty()) {
    form.UseCDMode->setChecked(false);
    boxes.Show(&form, BoxIcon::kWarning, DisplayText(kWarningCaption), DisplayText(found.warning));
    return;
  }
  form.comboCDDRIVES->setCurrentIndex(0);
  form.UseCDMode->setChecked(true);
  ShowSourceField(form, false);
}

}  // namespace

std::string SelectedDriveEntry(const QComboBox& drives) {
  if (drives.currentIndex() < 0) return {};
  return drives.currentData().toByteArray().toStdString();
}

void BindCdMode(TfrmMainForm& form, MessageBoxes& boxes) {
  FormHooks& hooks = form.Hooks();
  hooks.use_cd_mode = [&boxes](TfrmMainForm& window, bool on) { UseCDModeExecute(window, on, boxes); };
  hooks.open_cd_source = [&form] { return OpenCdSource(SelectedDriveEntry(*form.comboCDDRIVES), form.NTDeviceMode()); };
}

}  // namespace rsf::ui
