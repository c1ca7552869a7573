// The main window's logic for every front end: the option state, the busy guard and the
// general error display, the commands (scan with its progress and its end, extraction,
// playback, source and target, CD mode, help) and the close order. A front end draws the
// controls, implements MainView and forwards its commands here.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/desktop_services.h"
#include "desktop/main_view.h"
#include "desktop/playback.h"
#include "desktop/scan_progress.h"
#include "desktop/window_options.h"
#include "scan/engine/scan_engine.h"

namespace rsf::desktop {

class MainPresenter {
 public:
  // `help_file`: the user guide's path.
  MainPresenter(MainView& view, const DesktopServices& services, std::string help_file);

  WindowOptions& Options() { return options_; }
  const WindowOptions& Options() const { return options_; }
  ScanEngine& Engine() { return engine_; }
  const ScanEngine& Engine() const { return engine_; }
  Playback& Playing() { return playback_; }
  const std::string& HelpFile() const { return help_file_; }
  bool CdMode() const { return cd_mode_; }
  // Whether CD mode asks the drives as raw devices (true) or through ASPI.
  bool NTDeviceMode() const { return nt_device_mode_; }
  void SetNTDeviceMode(bool on) { nt_device_mode_ = on; }
  // The clock by which a scan's repaints and event rounds are paced (tests set a false one).
  void SetPacingClock(EventPacer::Clock clock) { progress_.SetPacingClock(std::move(clock)); }

  // Runs a command unless a scan is under way; an error it raises is shown by the general
  // error display (a stop box titled with the application title), never passed on.
  void Command(const std::function<void()>& handler);
  bool Busy() const { return engine_.Running(); }

  // StartAnalysisExecute: scans the disc in the selected drive (CD mode) or the file the source
  // field names, with the ticked types.
  void StartAnalysis();
  // Scans what `open_source` opens. A source without a disc is a warning; an error ends the
  // run with the status idle and the gauge at 0, and goes on to the caller (the general error
  // display), unless the window is closing.
  void StartAnalysis(const ScanEngine::SourceOpener& open_source);
  // SaveClipsExecute: writes the ticked clips beside the target prefix. Nothing ticked is a
  // warning, a whole run an information box; a run that fails is over like a finished one (the
  // status idle, the gauge at 0) and its error goes on to the caller.
  void SaveClips();
  // PlayExecute.
  void Play() { playback_.PlayExecute(); }
  // rzFoundClipsClick: the information pane shows the selected clip's information text, then
  // its offsets and size.
  void ClipSelected();
  // SelectAllExecute, UnSelectAllExecute.
  void SelectAll() { view_.TickAllClips(); }
  void UnSelectAll() { view_.UntickAllClips(); }
  // Esc during a scan: the scan stops at its next event round; what it found stays listed and
  // ticked.
  void StopScan();
  // OpenSourceExecute and SelectTargetExecute: the dialogs' choice goes into the field (the
  // target without its extension).
  void OpenSource();
  void SelectTarget();
  // edtSourceFileChange, comboCDDRIVESChange: the listed clips are not those of the new source.
  void SourceChanged() { view_.ClearClipList(); }
  // WMDropFiles: each file replaces the one before in the source field; the last one is scanned
  // when the option asks for it. Refused while busy and in CD mode.
  void DropFiles(const std::vector<std::string>& paths);
  bool AcceptsDrops() const { return !Busy() && !cd_mode_; }
  // UseCDModeExecute, with the command's new check state. Entering CD mode asks the drives
  // (raw devices or ASPI, by NTDeviceMode); leaving it asks nothing.
  void UseCDMode(bool on);
  // ShowHelpExecute: the user guide at its opening topic in the desktop's browser; when nothing
  // opens it, a warning says why and where the guide lies.
  void ShowHelp();
  // FormClose, once the window has begun to close: the player and picture window, then the
  // temporary copies, then the private temporary folder.
  void Close();

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

  void ShowError(const std::string& message);

  MainView& view_;
  DesktopServices services_;
  std::string help_file_;
  WindowOptions options_;
  Progress progress_;
  ScanEngine engine_{progress_};
  Playback playback_;
  bool stop_requested_ = false;
  bool cd_mode_ = false;
  bool nt_device_mode_ = false;
  // The shell's answer about the guide is dropped once this is gone.
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

// The user guide's path: the program's data folder, else beside the program.
std::string DefaultHelpFile();
// The target prefix the window starts with: the program's folder + "Clip", or, where that folder
// takes no files from the user (an installed program), `user_folder` (the user's home folder, or
// Documents on Windows; ending with the path delimiter; empty when there is none) + "Clip".
std::string DefaultTargetPrefix(const std::string& user_folder);

}  // namespace rsf::desktop
