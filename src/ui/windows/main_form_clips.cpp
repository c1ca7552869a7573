// The clip list and information pane, ticking all or none, and extraction of the ticked
// clips.
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "scan/extraction/extraction.h"
#include "ui/widgets/check_list_box.h"
#include "ui/display_text.h"
#include "ui/features/extraction_progress.h"
#include "ui/services/form_services.h"
#include "ui/widgets/gauge.h"
#include "ui/windows/main_form.h"
#include "ui/widgets/status_panels.h"
#include "desktop/window_texts.h"

namespace rsf::ui {

// Shows the information text of the selected clip, then its offsets and size.
void TfrmMainForm::rzFoundClipsClick() {
  Memo1->clear();
  const int entry = rzFoundClips->SelectedEntry();
  const ClipCatalogue& catalogue = presenter_.Engine().Catalogue();
  if (entry < 0 || static_cast<std::size_t>(entry) >= catalogue.size()) return;
  QStringList lines;
  for (const std::string& line : ClipDetailLines(catalogue[static_cast<std::size_t>(entry)]))
    lines.push_back(QString::fromStdString(line));
  Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TfrmMainForm::ClearClipList() {
  rzFoundClips->clear();
  Memo1->clear();
}

int TfrmMainForm::SelectedClip() const { return rzFoundClips->SelectedEntry(); }

bool TfrmMainForm::InternalPlaybackFirst() const { return presenter_.Options().internal_playback_first; }

void TfrmMainForm::ShowActivity(const char* text) { stbarMain->SetText(kStatusPanelActivity, DisplayText(text)); }

bool TfrmMainForm::ShowsActivity(const char* text) const {
  return stbarMain->Text(kStatusPanelActivity) == DisplayText(text);
}

void TfrmMainForm::SelectAllExecute() { rzFoundClips->SetAllTicked(true); }

void TfrmMainForm::UnSelectAllExecute() { rzFoundClips->SetAllTicked(false); }

// A failed extraction is over like a finished one: its error names the clip, and the status
// and gauge show the window idle again.
void TfrmMainForm::SaveClipsExecute() {
  if (presenter_.Engine().Running()) return;
  ExtractionProgress progress(*stbarMain, *Gauge1, *this);
  ExtractionOutcome outcome = ExtractionOutcome::kNoSource;
  try {
    outcome = ExtractClips(presenter_.Engine().Source(), presenter_.Engine().Catalogue(), rzFoundClips->Ticks(),
                           LocalPath(edtTargetFiles->text()), progress);
  } catch (...) {
    stbarMain->SetText(kStatusPanelActivity, DisplayText(desktop::kStatusIdle));
    Gauge1->SetProgress(0);
    throw;
  }
  switch (outcome) {
    case ExtractionOutcome::kNoSource:
      return;
    case ExtractionOutcome::kNothingTicked:
      services_.boxes->Show(this, BoxIcon::kWarning, DisplayText(desktop::kWarningCaption), DisplayText(kNothingTickedWarning));
      return;
    case ExtractionOutcome::kDone:
      services_.boxes->Show(this, BoxIcon::kInformation, DisplayText(desktop::kInformationCaption),
                            DisplayText(kExtractionDoneText));
      stbarMain->SetText(kStatusPanelActivity, DisplayText(desktop::kStatusIdle));
      Gauge1->SetProgress(0);
      return;
  }
}

}  // namespace rsf::ui
