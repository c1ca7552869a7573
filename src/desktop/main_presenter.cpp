// The commands of the main window and their ends.
#include "desktop/main_presenter.h"

#include <exception>
#include <new>

#include "base/error_display.h"
#include "base/errors.h"
#include "cd/cd_mode.h"
#include "cd/raw_image_stream.h"
#include "desktop/extraction_progress.h"
#include "desktop/product.h"
#include "desktop/shell_failure.h"
#include "desktop/target_path.h"
#include "desktop/window_texts.h"
#include "platform/file.h"
#include "platform/system_info.h"
#include "scan/extraction/extraction.h"

namespace rsf::desktop {
namespace {

// A local file's address with a fragment, as the shell hands it to a browser: "file://", the
// path with "/" between its parts, and every byte outside the unreserved characters
// percent-encoded.
std::string FileAddress(const std::string& path, const char* fragment) {
  std::string address = "file://";
  if (!path.empty() && path.front() != '/' && path.front() != '\\') address += '/';
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
        c == '-' || c == '.' || c == '_' || c == '~' || c == '/' || c == ':') {
      address += c;
    } else if (c == '\\') {
      address += '/';
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      address += '%';
      address += kHex[byte >> 4];
      address += kHex[byte & 0xF];
    }
  }
  return address + "#" + fragment;
}

}  // namespace

std::string DefaultHelpFile() {
  const std::string installed = platform::ProgramDataFolder() + kHelpFileName;
  if (platform::FileExists(installed)) return installed;
  return platform::ProgramFolder() + kHelpFileName;
}

std::string DefaultTargetPrefix(const std::string& user_folder) {
  const std::string program_folder = platform::ProgramFolder();
  const bool beside_program = platform::TakesUserFiles(program_folder) || user_folder.empty();
  return (beside_program ? program_folder : user_folder) + kDefaultTargetStem;
}

MainPresenter::MainPresenter(MainView& view, const DesktopServices& services, std::string help_file)
    : view_(view),
      services_(services),
      help_file_(std::move(help_file)),
      progress_(view_, *this),
      playback_(view_, services_, engine_, options_),
      nt_device_mode_(rsf::NTDeviceMode()) {}

void MainPresenter::Command(const std::function<void()>& handler) {
  if (Busy()) return;
  try {
    handler();
  } catch (const std::bad_alloc&) {
    ShowError(kOutOfMemoryText);
  } catch (const std::exception& error) {
    ShowError(error.what());
  } catch (...) {
    ShowError(kUnknownErrorText);
  }
}

void MainPresenter::ShowError(const std::string& message) {
  services_.boxes.Show(BoxIcon::kStop, ApplicationTitle(), ErrorDisplayText(message));
}

void MainPresenter::StartAnalysis() {
  if (cd_mode_) {
    const std::string drive = view_.SelectedDriveEntry();
    StartAnalysis([drive, nt = nt_device_mode_] { return OpenCdSource(drive, nt); });
    return;
  }
  const std::string path = view_.SourcePath();
  StartAnalysis([path]() -> std::unique_ptr<SourceStream> { return OpenSourceFile(path); });
}

void MainPresenter::StartAnalysis(const ScanEngine::SourceOpener& open_source) {
  if (engine_.Running()) return;
  stop_requested_ = false;
  ScanOutcome outcome;
  try {
    outcome = engine_.StartAnalysis(open_source, options_.ForScan());
  } catch (...) {
    // The run is over whatever the error: nothing is being analysed any more.
    view_.SetGaugeProgress(0);
    view_.SetStatus(kStatusPanelActivity, kStatusIdle);
    // The user asked to close while the failing read held the window: no box holds the close up.
    if (view_.Closing()) return;
    throw;
  }
  if (outcome == ScanOutcome::kNoDisc) services_.boxes.Show(BoxIcon::kWarning, kWarningCaption, kNoDiscWarning);
  if (outcome == ScanOutcome::kCancelled && stop_requested_ && !view_.Closing()) {
    view_.SetGaugeProgress(0);
    view_.TickAllClips();
    view_.SetStatus(kStatusPanelActivity, kStatusScanStopped + std::to_string(engine_.ReadErrorCount()));
  }
  stop_requested_ = false;
}

void MainPresenter::SaveClips() {
  if (engine_.Running()) return;
  ExtractionProgress progress(view_);
  ExtractionOutcome outcome = ExtractionOutcome::kNoSource;
  try {
    outcome = ExtractClips(engine_.Source(), engine_.Catalogue(), view_.ClipTicks(), view_.TargetPath(), progress);
  } catch (...) {
    view_.SetStatus(kStatusPanelActivity, kStatusIdle);
    view_.SetGaugeProgress(0);
    throw;
  }
  switch (outcome) {
    case ExtractionOutcome::kNoSource:
      return;
    case ExtractionOutcome::kNothingTicked:
      services_.boxes.Show(BoxIcon::kWarning, kWarningCaption, kNothingTickedWarning);
      return;
    case ExtractionOutcome::kDone:
      services_.boxes.Show(BoxIcon::kInformation, kInformationCaption, kExtractionDoneText);
      view_.SetStatus(kStatusPanelActivity, kStatusIdle);
      view_.SetGaugeProgress(0);
      return;
  }
}

void MainPresenter::ClipSelected() {
  const int entry = view_.SelectedClip();
  const ClipCatalogue& catalogue = engine_.Catalogue();
  if (entry < 0 || static_cast<std::size_t>(entry) >= catalogue.size()) {
    view_.ShowClipDetail({});
    return;
  }
  view_.ShowClipDetail(ClipDetailLines(catalogue[static_cast<std::size_t>(entry)]));
}

void MainPresenter::StopScan() {
  if (engine_.Running()) stop_requested_ = true;
}

void MainPresenter::OpenSource() {
  if (const std::optional<std::string> path = services_.dialogs.ChooseSourceFile()) view_.SetSourcePath(*path);
}

void MainPresenter::SelectTarget() {
  if (const std::optional<std::string> path = services_.dialogs.ChooseTargetFile())
    view_.SetTargetPath(TargetPrefix(*path));
}

void MainPresenter::DropFiles(const std::vector<std::string>& paths) {
  if (!AcceptsDrops()) return;
  for (const std::string& path : paths) view_.SetSourcePath(path);
  if (options_.start_analysis_on_drop && !paths.empty()) StartAnalysis();
}

void MainPresenter::UseCDMode(bool on) {
  view_.ClearClipList();
  cd_mode_ = false;
  if (!on) {
    view_.ShowCdMode(false);
    return;
  }
  const CdDriveDiscovery found = DiscoverCdDrives(nt_device_mode_);
  if (found.warning != kNoAspiDriverWarning) view_.SetDriveEntries(found.entries);
  if (!found.warning.empty()) {
    view_.ShowCdMode(false);
    services_.boxes.Show(BoxIcon::kWarning, kWarningCaption, found.warning);
    return;
  }
  view_.SelectDrive(0);
  cd_mode_ = true;
  view_.ShowCdMode(true);
}

void MainPresenter::ShowHelp() {
  if (!platform::FileExists(help_file_)) {
    services_.boxes.Show(BoxIcon::kError, kErrorCaption, std::string(kCannotOpenHelpFile) + " \"" + help_file_ + "\" !");
    return;
  }
  std::weak_ptr<const bool> alive = alive_;
  services_.shell.OpenDocument(FileAddress(help_file_, kHelpTopic), [this, alive](const platform::OpenOutcome& outcome) {
    if (outcome.error == 0 || alive.expired() || view_.Closing()) return;
    services_.boxes.Show(BoxIcon::kWarning, kWarningCaption, HelpFailureText(outcome, help_file_));
  });
}

void MainPresenter::Close() {
  playback_.CloseMedia();
  playback_.DeleteCopies();
  services_.temporary_folder.Release();
}

}  // namespace rsf::desktop
