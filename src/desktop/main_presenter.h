// The main window's logic for every front end: the option state, the busy guard, the scan
// command with its progress and its end (finished, stopped, closed or failed), and extraction. A front end
// draws the controls, implements MainView and forwards its commands here.
#pragma once

#include "desktop/main_view.h"
#include "desktop/message_boxes.h"
#include "desktop/scan_progress.h"
#include "desktop/window_options.h"
#include "scan/engine/scan_engine.h"

namespace rsf::desktop {

class MainPresenter {
 public:
  MainPresenter(MainView& view, MessageBoxes& boxes) : view_(view), boxes_(boxes), progress_(view_, *this) {}

  WindowOptions& Options() { return options_; }
  const WindowOptions& Options() const { return options_; }
  ScanEngine& Engine() { return engine_; }
  const ScanEngine& Engine() const { return engine_; }
  // The clock by which a scan's repaints and event rounds are paced (tests set a false one).
  void SetPacingClock(EventPacer::Clock clock) { progress_.SetPacingClock(std::move(clock)); }

  // StartAnalysisExecute: scans what `open_source` opens with the ticked types. A source
  // without a disc is a warning; an error ends the run with the status idle and the gauge at 0,
  // and goes on to the caller (the general error display), unless the window is closing.
  void StartAnalysis(const ScanEngine::SourceOpener& open_source);
  // SaveClipsExecute: writes the ticked clips beside the target prefix. Nothing ticked is a
  // warning, a whole run an information box; a run that fails is over like a finished one (the
  // status idle, the gauge at 0) and its error goes on to the caller.
  void SaveClips();
  // SelectAllExecute, UnSelectAllExecute.
  void SelectAll() { view_.TickAllClips(); }
  void UnSelectAll() { view_.UntickAllClips(); }
  // Esc during a scan: the scan stops at its next event round; what it found stays listed and
  // ticked.
  void StopScan();

 private:
  // The scan's observer: the window's progress, and a stop the user asked for.
  class Progress final : public ScanObserver {
   public:
    Progress(MainView& view, const MainPresenter& presenter) : view_(view), shown_(view), presenter_(presenter) {}
    void SetPacingClock(EventPacer::Clock clock) { shown_.SetPacingClock(std::move(clock)); }
    void RunStarted() override { shown_.RunStarted(); }
    void ListCleared() override { shown_.ListCleared(); }
    void GaugeMaximum(std::int64_t maximum) override { shown_.GaugeMaximum(maximum); }
    void GaugeProgress(std::int64_t position) override { shown_.GaugeProgress(position); }
    void StatusText(int panel, const std::string& text) override { shown_.StatusText(panel, text); }
    void Repaint() override { shown_.Repaint(); }
    void ClipListed(std::size_t index, const std::string& line) override { shown_.ClipListed(index, line); }
    void ProcessMessages() override { shown_.ProcessMessages(); }
    bool Closing() const override { return shown_.Closing() || presenter_.stop_requested_; }
    // A run that ends early first lets the events that came in meanwhile run while the window
    // is still busy: a close the user asked for during a long, blocking read is seen now.
    void RunEnded(bool finished) override {
      if (!finished) view_.ProcessEvents();
      shown_.RunEnded(finished);
    }

   private:
    MainView& view_;
    ScanProgress shown_;
    const MainPresenter& presenter_;
  };

  MainView& view_;
  MessageBoxes& boxes_;
  WindowOptions options_;
  Progress progress_;
  ScanEngine engine_{progress_};
  bool stop_requested_ = false;
};

}  // namespace rsf::desktop
