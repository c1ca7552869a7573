// The scan's observer for the window.
#include "ui/features/scan_progress.h"

#include <QCoreApplication>

namespace rsf::ui {

void ScanProgress::SetPacingClock(EventPacer::Clock clock) {
  repaint_pacer_.SetClock(clock);
  event_pacer_.SetClock(std::move(clock));
}

void ScanProgress::RunStarted() { window_.SetBusy(true); }

void ScanProgress::ListCleared() { window_.StartClipList(); }

void ScanProgress::GaugeMaximum(std::int64_t maximum) { window_.SetGaugeMaximum(maximum); }

void ScanProgress::GaugeProgress(std::int64_t position) { window_.SetGaugeProgress(position); }

void ScanProgress::StatusText(int panel, const std::string& text) {
  window_.SetStatus(panel, QString::fromStdString(text));
}

void ScanProgress::Repaint() {
  if (repaint_pacer_.Due()) window_.RepaintNow();
}

void ScanProgress::ClipListed(std::size_t, const std::string& list_line) {
  window_.AddClipLine(QString::fromStdString(list_line));
}

void ScanProgress::ProcessMessages() {
  if (event_pacer_.Due()) QCoreApplication::processEvents();
}

void ScanProgress::RunEnded(bool finished) {
  window_.SetBusy(false);
  if (finished) window_.TickAllClips();
}

}  // namespace rsf::ui
