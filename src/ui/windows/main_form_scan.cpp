// Scanning from the window: the options the run reads, the source it opens, and what the scan's
// progress shows on: the busy state, the list, the gauge and the status panels.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <utility>

#include "scan/catalogue/clip_type_table.h"
#include "ui/widgets/check_list_box.h"
#include "ui/display_text.h"
#include "ui/services/form_services.h"
#include "ui/widgets/gauge.h"
#include "ui/widgets/header_control.h"
#include "ui/windows/main_form.h"
#include "ui/widgets/status_panels.h"
#include "desktop/window_texts.h"

namespace rsf::ui {

void TfrmMainForm::StartAnalysisExecute() { presenter_.StartAnalysis(); }

// Every click on a clip-type box or an option item goes into the presenter's option state,
// which the commands read; the window starts showing that state.
void TfrmMainForm::ConnectOptions() {
  desktop::WindowOptions& options = presenter_.Options();
  for (const ClipTypeRecord& type : ClipTypeTable()) {
    QCheckBox* box = ClipTypeBox(type.kind);
    box->setChecked(options.Ticked(type.kind));
    connect(box, &QCheckBox::toggled, this, [&options, kind = type.kind](bool on) { options.Tick(kind, on); });
  }
  const std::pair<QAction*, bool*> items[] = {
      {StartAnalysisonDragDrop1, &options.start_analysis_on_drop},
      {Tryinternalplaybackfirst, &options.internal_playback_first},
      {PreciseBoundaries1, &options.precise},
      {MP3Mode1, &options.mp3_mode},
      {Ignorereaderrors1, &options.ignore_read_errors},
  };
  for (const auto& [item, tick] : items) {
    item->setChecked(*tick);
    connect(item, &QAction::toggled, this, [tick = tick](bool on) { *tick = on; });
  }
}

// Busy: hourglass, and nothing to click but the close box. Every command also checks busy_,
// so that no shortcut or drop reaches a second scan, an extraction or a playback.
void TfrmMainForm::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
  panelMain->setEnabled(!busy);
  tlbarMain->setEnabled(!busy);
  for (QMenu* menu : {File1, Clips1, Target1, View1, BETA1, N1, BETA2}) menu->menuAction()->setEnabled(!busy);
  if (busy) repaint();
}

void TfrmMainForm::StartClipList() {
  ClearClipList();
  rzFoundClips->UpdateFromHeader(*HeaderControl1);
}

void TfrmMainForm::AddClipLine(const std::string& line) { rzFoundClips->AddLine(DisplayText(line)); }

void TfrmMainForm::SetGaugeMaximum(std::int64_t maximum) { Gauge1->SetMaximum(maximum); }

void TfrmMainForm::SetGaugeProgress(std::int64_t position) { Gauge1->SetProgress(position); }

void TfrmMainForm::SetStatus(int panel, const std::string& text) { stbarMain->SetText(panel, DisplayText(text)); }

std::string TfrmMainForm::Status(int panel) const { return stbarMain->Text(panel).toStdString(); }

void TfrmMainForm::ProcessEvents() { QCoreApplication::processEvents(); }

}  // namespace rsf::ui
