// What an extraction run reports, shown in the window: the file being written in status
// panel 1 (painted before its copy starts) and the count of clips written in the gauge.
#pragma once

#include "scan/extraction/extraction.h"

class QWidget;

namespace rsf::ui {

class Gauge;
class StatusPanels;

class ExtractionProgress final : public ExtractionObserver {
 public:
  ExtractionProgress(StatusPanels& status, Gauge& gauge, QWidget& window)
      : status_(status), gauge_(gauge), window_(window) {}

  void StatusText(const std::string& text) override;
  void Repaint() override;
  void GaugeMaximum(std::int64_t maximum) override;
  void GaugeProgress(std::int64_t position) override;

 private:
  StatusPanels& status_;
  Gauge& gauge_;
  QWidget& window_;
};

}  // namespace rsf::ui
