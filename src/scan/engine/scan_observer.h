// What a scan run tells its front end, and what it asks of it. The window maps these to its
// controls; rsfx prints them; tests record them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rsf {

// Status-bar panels the scan writes (panel 0 holds a fixed label).
inline constexpr int kStatusPanelActivity = 1;
inline constexpr int kStatusPanelElapsed = 2;
inline constexpr int kStatusPanelRemaining = 3;

// The elapsed and remaining panels' labels: alone before a run, followed by a space and the
// time during one.
inline constexpr const char* kStatusElapsed = "使用时间:";
inline constexpr const char* kStatusRemaining = "剩余:";
// How the activity panel's text begins once a run has reached the source end (the read-error
// count follows).
inline constexpr const char* kStatusScanFinished = "分析完成";

class ScanObserver {
 public:
  virtual ~ScanObserver() = default;

  // The run has started: busy state on (hourglass, panel, tool bar and menus disabled).
  virtual void RunStarted() {}
  // The list of found clips was emptied for the new run.
  virtual void ListCleared() {}
  virtual void GaugeMaximum(std::int64_t) {}
  virtual void GaugeProgress(std::int64_t) {}
  virtual void StatusText(int /*panel*/, const std::string& /*text*/) {}
  // Repaint the window at once (after a detector's status text, or the periodic full repaint).
  virtual void Repaint() {}
  // Catalogue entry `index` (from 0) was appended; `list_line` is its line, unticked.
  virtual void ClipListed(std::size_t /*index*/, const std::string& /*list_line*/) {}
  // Let the front end handle pending events once (once per window, once per MP3 frame).
  virtual void ProcessMessages() {}
  // True when the program is closing: the run stops at its next check.
  virtual bool Closing() const { return false; }
  // The run is over. `finished`: it reached the source end (busy state off, every entry to be
  // ticked). Otherwise it ended with an error or was cancelled: busy state off only.
  virtual void RunEnded(bool /*finished*/) {}
};

}  // namespace rsf
