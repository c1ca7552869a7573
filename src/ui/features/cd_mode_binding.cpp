// Entering CD mode asks the drives (raw devices or ASPI, by NTDeviceMode); leaving it asks
// nothing. The drive entries are kept byte for byte in the items' data, the shown text is for
// the eye only.
#include "ui/features/cd_mode_binding.h"

#include <QComboBox>

#include "cd/cd_mode.h"
#include "ui/display_text.h"
#include "ui/features/form_hooks.h"
#include "ui/services/message_boxes.h"
#include "desktop/window_texts.h"

namespace rsf::ui {
namespace {

void FillDriveList(QComboBox& drives, const std::vector<std::string>& entries) {
  drives.clear();
  for (const std::string& entry : entries)
    drives.addItem(PathFromLocal(entry), QByteArray::fromStdString(entry));
}

// `on`: the action's check state after the click, i.e. true when the window was in file mode.
void UseCDModeExecute(CdModeWindow& window, bool on, MessageBoxes& boxes) {
  window.ClearClipList();
  if (!on) {
    window.ShowCdMode(false);
    return;
  }
  const CdDriveDiscovery found = DiscoverCdDrives(window.NTDeviceMode());
  if (found.warning != kNoAspiDriverWarning) FillDriveList(window.DriveList(), found.entries);
  if (!found.warning.empty()) {
    window.ShowCdMode(false);
    boxes.Show(&window.Owner(), BoxIcon::kWarning, DisplayText(desktop::kWarningCaption), DisplayText(found.warning));
    return;
  }
  window.DriveList().setCurrentIndex(0);
  window.ShowCdMode(true);
}

}  // namespace

std::string SelectedDriveEntry(const QComboBox& drives) {
  if (drives.currentIndex() < 0) return {};
  return drives.currentData().toByteArray().toStdString();
}

void BindCdMode(FormHooks& hooks, CdModeWindow& window, MessageBoxes& boxes) {
  hooks.use_cd_mode = [&boxes](CdModeWindow& view, bool on) { UseCDModeExecute(view, on, boxes); };
  hooks.open_cd_source = [&window] {
    return OpenCdSource(SelectedDriveEntry(window.DriveList()), window.NTDeviceMode());
  };
}

}  // namespace rsf::ui
