// Extraction progress onto the status bar and the gauge.
#include "ui/features/extraction_progress.h"

#include <QWidget>

#include "scan/engine/scan_observer.h"
#include "ui/widgets/gauge.h"
#include "ui/widgets/status_panels.h"

namespace rsf::ui {

void ExtractionProgress::StatusText(const std::string& text) {
  status_.SetText(kStatusPanelActivity, QString::fromStdString(text));
}

// Extraction does not let events run, so the window is painted here and now.
void ExtractionProgress::Repaint() { window_.repaint(); }

void ExtractionProgress::GaugeMaximum(std::int64_t maximum) { gauge_.SetMaximum(maximum); }

void ExtractionProgress::GaugeProgress(std::int64_t position) { gauge_.SetProgress(position); }

}  // namespace rsf::ui
