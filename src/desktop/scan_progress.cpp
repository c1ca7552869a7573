// The scan's observer for the main window.
#include "desktop/scan_progress.h"

namespace rsf::desktop {

void ScanProgress::SetPacingClock(EventPacer::Clock clock) {
  repaint_pacer_.SetClock(clock);
  event_pacer_.SetClock(std::move(clock));
}

void ScanProgress::RunStarted() { view_.SetBusy(true); }

void ScanProgress::ListCleared() { view_.StartClipList(); }

void ScanProgress::GaugeMaximum(std::int64_t maximum) { view_.SetGaugeMaximum(maximum); }

void ScanProgress::GaugeProgress(std::int64_t position) { view_.SetGaugeProgress(position); }

void ScanProgress::StatusText(int panel, const std::string& text) { view_.SetStatus(panel, text); }

void ScanProgress::Repaint() {
  if (repaint_pacer_.Due()) view_.RepaintNow();
}

void ScanProgress::ClipListed(std::size_t, const std::string& list_line) { view_.AddClipLine(list_line); }

void ScanProgress::ProcessMessages() {
  if (event_pacer_.Due()) view_.ProcessEvents();
}

void ScanProgress::RunEnded(bool finished) {
  view_.SetBusy(false);
  if (finished) view_.TickAllClips();
}

}  // namespace rsf::desktop
