// A scan run as the main window shows it: the scan's observer mapped onto the busy state, the
// clip list, the gauge and the status panels, with the repaints and event rounds a scan asks
// for paced to what the eye and the hand need. It sees of the window only what ScanWindow
// offers.
#pragma once

#include <QString>

#include "scan/engine/scan_observer.h"
#include "ui/features/event_pacer.h"

namespace rsf::ui {

// A scan's repaints and event rounds are at least this far apart (seconds); a window that takes
// longer still gets its round.
inline constexpr double kScanRepaintInterval = 0.05;
inline constexpr double kScanEventInterval = 0.05;

// What a scan needs of the main window.
class ScanWindow {
 public:
  // Busy: hourglass, panel, tool bar and menus disabled (and enabled again).
  virtual void SetBusy(bool busy) = 0;
  // Empties the clip list (and its information pane) and takes its tab stops from the header.
  virtual void StartClipList() = 0;
  virtual void AddClipLine(const QString& line) = 0;
  virtual void TickAllClips() = 0;
  virtual void SetGaugeMaximum(std::int64_t maximum) = 0;
  virtual void SetGaugeProgress(std::int64_t position) = 0;
  virtual void SetStatus(int panel, const QString& text) = 0;
  virtual void RepaintNow() = 0;
  virtual bool Closing() const = 0;

 protected:
  ~ScanWindow() = default;
};

class ScanProgress final : public ScanObserver {
 public:
  explicit ScanProgress(ScanWindow& window) : window_(window) {}

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
  bool Closing() const override { return window_.Closing(); }
  void RunEnded(bool finished) override;

 private:
  ScanWindow& window_;
  // At most about twenty full repaints and twenty event rounds a second during a scan.
  EventPacer repaint_pacer_{kScanRepaintInterval};
  EventPacer event_pacer_{kScanEventInterval};
};

}  // namespace rsf::ui
