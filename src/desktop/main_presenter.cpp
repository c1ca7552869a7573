// The scan command and its ends, and extraction.
#include "desktop/main_presenter.h"

#include "base/errors.h"
#include "desktop/extraction_progress.h"
#include "desktop/window_texts.h"
#include "scan/extraction/extraction.h"

namespace rsf::desktop {

void MainPresenter::StartAnalysis(const ScanEngine::SourceOpener& open_source) {
  if (engine_.Running()) return;
  stop_requested_ = false;
  ScanOutcome outcome;
  try {
    outcome = engine_.StartAnalysis(open_source, options_.ForScan());
  } catch (...) {
    // The run is over whatever the error: nothing is being analysed any more.
    view_.SetGaugeProgress(0);
    view_.SetStatus(kStatusPanelActivity, kStatusIdle);
    // The user asked to close while the failing read held the window: no box holds the close up.
    if (view_.Closing()) return;
    throw;
  }
  if (outcome == ScanOutcome::kNoDisc) boxes_.Show(BoxIcon::kWarning, kWarningCaption, kNoDiscWarning);
  if (outcome == ScanOutcome::kCancelled && stop_requested_ && !view_.Closing()) {
    view_.SetGaugeProgress(0);
    view_.TickAllClips();
    view_.SetStatus(kStatusPanelActivity, kStatusScanStopped + std::to_string(engine_.ReadErrorCount()));
  }
  stop_requested_ = false;
}

void MainPresenter::SaveClips() {
  if (engine_.Running()) return;
  ExtractionProgress progress(view_);
  ExtractionOutcome outcome = ExtractionOutcome::kNoSource;
  try {
    outcome = ExtractClips(engine_.Source(), engine_.Catalogue(), view_.ClipTicks(), view_.TargetPath(), progress);
  } catch (...) {
    view_.SetStatus(kStatusPanelActivity, kStatusIdle);
    view_.SetGaugeProgress(0);
    throw;
  }
  switch (outcome) {
    case ExtractionOutcome::kNoSource:
      return;
    case ExtractionOutcome::kNothingTicked:
      boxes_.Show(BoxIcon::kWarning, kWarningCaption, kNothingTickedWarning);
      return;
    case ExtractionOutcome::kDone:
      boxes_.Show(BoxIcon::kInformation, kInformationCaption, kExtractionDoneText);
      view_.SetStatus(kStatusPanelActivity, kStatusIdle);
      view_.SetGaugeProgress(0);
      return;
  }
}

void MainPresenter::StopScan() {
  if (engine_.Running()) stop_requested_ = true;
}

}  // namespace rsf::desktop
