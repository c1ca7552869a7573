// Scanning from the window: the options the run reads, the source it opens, and what the scan's
// progress shows on: the busy state, the list, the gauge and the status panels.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "stream/file_stream.h"
#include "ui/widgets/check_list_box.h"
#include "ui/display_text.h"
#include "ui/services/form_services.h"
#include "ui/widgets/gauge.h"
#include "ui/widgets/header_control.h"
#include "ui/windows/main_form.h"
#include "ui/widgets/status_panels.h"
#include "ui/window_texts.h"

namespace rsf::ui {

void TfrmMainForm::StartAnalysisExecute() {
  if (engine_.Running()) return;
  const ScanOutcome outcome = engine_.StartAnalysis(SourceOpener(), ReadScanOptions());
  if (outcome == ScanOutcome::kNoDisc)
    services_.boxes->Show(this, BoxIcon::kWarning, DisplayText(kWarningCaption), DisplayText(kNoDiscWarning));
}

ScanOptions TfrmMainForm::ReadScanOptions() const {
  ScanOptions options;
  const auto boxes = ClipTypeBoxes();
  for (int kind = 0; kind < kClipKindCount; ++kind) options.enabled[kind] = boxes[kind]->isChecked();
  options.mp3_mode = MP3Mode1->isChecked();
  options.ignore_read_errors = Ignorereaderrors1->isChecked();
  options.precise = PreciseBoundaries1->isChecked();
  return options;
}

ScanEngine::SourceOpener TfrmMainForm::SourceOpener() const {
  if (UseCDMode->isChecked() && hooks_.open_cd_source) return hooks_.open_cd_source;
  const std::string path = LocalPath(edtSourceFile->text());
  return [path]() -> std::unique_ptr<SourceStream> { return std::make_unique<FileStream>(path); };
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

void TfrmMainForm::AddClipLine(const QString& line) { rzFoundClips->AddLine(line); }

void TfrmMainForm::SetGaugeMaximum(std::int64_t maximum) { Gauge1->SetMaximum(maximum); }

void TfrmMainForm::SetGaugeProgress(std::int64_t position) { Gauge1->SetProgress(position); }

void TfrmMainForm::SetStatus(int panel, const QString& text) { stbarMain->SetText(panel, text); }

}  // namespace rsf::ui
