// Shows a scan's progress on a terminal: one line on stderr, redrawn once per window, with
// the percentage and the elapsed and remaining times of the status bar.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "scan/extraction/extraction.h"
#include "scan/engine/scan_observer.h"

namespace rsf::cli {

class ConsoleObserver final : public ScanObserver, public ExtractionObserver {
 public:
  // `progress` null: no progress line (stderr is not a terminal).
  explicit ConsoleObserver(std::FILE* progress) : progress_(progress) {}

  void GaugeMaximum(std::int64_t maximum) override { maximum_ = maximum; }
  void GaugeProgress(std::int64_t position) override { position_ = position; }
  void StatusText(int panel, const std::string& text) override;
  void ProcessMessages() override;
  void RunEnded(bool finished) override;
  // Extraction status.
  void StatusText(const std::string& text) override;

  const std::string& Activity() const { return activity_; }

 private:
  void ClearLine();

  std::FILE* progress_;
  std::int64_t maximum_ = 0;
  std::int64_t position_ = 0;
  std::string activity_, elapsed_, remaining_;
  bool line_shown_ = false;
};

}  // namespace rsf::cli
