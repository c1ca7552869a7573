// A scan run as the main window shows it: the scan's observer mapped onto the busy state, the
// clip list, the gauge and the status panels, with the repaints and event rounds a scan asks
// for paced to what the eye and the hand need.
#pragma once

#include "desktop/event_pacer.h"
#include "desktop/main_view.h"
#include "scan/engine/scan_observer.h"

namespace rsf::desktop {

// A scan's repaints and event rounds are at least this far apart (seconds); a window that takes
// longer still gets its round.
inline constexpr double kScanRepaintInterval = 0.05;
inline constexpr double kScanEventInterval = 0.05;

class ScanProgress final : public ScanObserver {
 public:
  explicit ScanProgress(MainView& view) : view_(view) {}

  // The clock by which repaints and event rounds are paced (tests set a false one).
  void SetPacingClock(EventPacer::Clock clock);

  void RunStarted() override;
  void ListCleared() override;
  void GaugeMaximum(std::int64_t maximum) override;
  void GaugeProgress(std::int64_t position) override;
  void StatusText(int panel, const std::string& text) override;
  void Repaint() override;
  void ClipListed(std::size_t index, const std::string& list_line) override;
  void ProcessMessages() override;
  bool Closing() const override { return view_.Closing(); }
  void RunEnded(bool finished) override;

 private:
  MainView& view_;
  // At most about twenty full repaints and twenty event rounds a second during a scan.
  EventPacer repaint_pacer_{kScanRepaintInterval};
  EventPacer event_pacer_{kScanEventInterval};
};

}  // namespace rsf::desktop
