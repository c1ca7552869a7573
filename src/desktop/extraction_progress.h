// What an extraction run reports, shown in the main window: the file being written in status
// panel 1 (painted before its copy starts) and the count of clips written in the gauge.
#pragma once

#include "desktop/main_view.h"
#include "scan/extraction/extraction.h"

namespace rsf::desktop {

class ExtractionProgress final : public ExtractionObserver {
 public:
  explicit ExtractionProgress(MainView& view) : view_(view) {}

  void StatusText(const std::string& text) override;
  void Repaint() override { view_.RepaintNow(); }  // extraction lets no events run
  void GaugeMaximum(std::int64_t maximum) override { view_.SetGaugeMaximum(maximum); }
  void GaugeProgress(std::int64_t position) override { view_.SetGaugeProgress(position); }

 private:
  MainView& view_;
};

}  // namespace rsf::desktop
