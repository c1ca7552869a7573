// Extraction progress onto the status bar and the gauge.
#include "desktop/extraction_progress.h"

#include "scan/engine/scan_observer.h"

namespace rsf::desktop {

void ExtractionProgress::StatusText(const std::string& text) { view_.SetStatus(kStatusPanelActivity, text); }

}  // namespace rsf::desktop
