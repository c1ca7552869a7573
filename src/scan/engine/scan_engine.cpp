// The scan run: the window loop, progress and the end of the run.
#include "scan/engine/scan_engine.h"

#include <fmt/format.h>

#include <chrono>

#include "base/errors.h"
#include "scan/engine/detector_dispatch.h"
#include "scan/engine/time_text.h"

namespace rsf {
namespace {

double SteadySeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// "音轨 : 2", the sample format, "时长 : m:ss:ff" (frames of 75 a second, as on a disc).
std::string CdTrackInfoText(const AudioTrackSpan& track) {
  return fmt::format("音轨 : {}\r\nPCM 44100 Hz, 16 位, 立体声\r\n时长 : {}", track.number,
                     CdAudioLength(track.end - track.start));
}

// "已读轨道 : 1 (MODE1/2352, 2108 扇区), 2 (音轨, 0:30:00)": the data tracks, and the audio
// tracks when they are listed.
std::string TracksReadText(const SourceStream& source, bool audio_listed) {
  std::string text;
  for (const ImageTrackRead& track : source.ImageTracks()) {
    if (track.audio && !audio_listed) continue;
    text += fmt::format("{}{} ({}{})", text.empty() ? "已读轨道 : " : ", ", track.number, track.audio ? "音轨, " : "",
                        track.what);
  }
  return text;
}

}  // namespace

ScanEngine::ScanEngine(ScanObserver& observer) : observer_(observer), clock_(SteadySeconds) {}

ScanOutcome ScanEngine::StartAnalysis(const SourceOpener& open_source, const ScanOptions& options) {
  if (running_) return ScanOutcome::kBusy;
  source_.reset();
  source_ = open_source();
  const std::int64_t size = source_->Size();
  if (size < 0) return ScanOutcome::kNoDisc;

  const double start_time = clock_();
  shown_elapsed_ = shown_remaining_ = -1;
  running_ = true;
  observer_.RunStarted();
  bool finished = false;
  try {
    catalogue_.clear();
    tracks_read_.clear();
    observer_.GaugeMaximum(size);
    observer_.ListCleared();
    finished = RunWindows(options, start_time);
  } catch (...) {
    running_ = false;
    observer_.GaugeProgress(0);
    observer_.RunEnded(false);
    throw;
  }
  running_ = false;
  if (!finished) {
    observer_.RunEnded(false);
    return ScanOutcome::kCancelled;
  }
  observer_.GaugeProgress(0);
  std::string finished_text = fmt::format("{}。错误 : {}", kStatusScanFinished, read_error_count_);
  if (!tracks_read_.empty()) finished_text += "。" + tracks_read_;
  observer_.StatusText(kStatusPanelActivity, finished_text);
  observer_.RunEnded(true);
  return ScanOutcome::kFinished;
}

bool ScanEngine::RunWindows(const ScanOptions& options, double start_time) {
  ScanState state(*source_, options, observer_, catalogue_, read_error_count_, matcher_kind_, start_read_ahead_);
  RegisterSignatures(state, options);
  state.SetFooterWait(footer_wait_);
  const std::int64_t size = state.SourceSize();
  source_->Seek(0);
  // A run that ends early (closing, an error) leaves out the clips still waiting for a footer
  // and those behind them; open ends are settled with what was found.
  try {
    while (source_->Position() < size) {
      if (observer_.Closing()) {
        state.ListClipsOnEarlyEnd();
        return false;
      }
      state.ReadWindow();
      state.SaveWindow();
      RunDetectors(state, options);
      ShowProgress(start_time, size);
      state.AdvanceWindow();
      observer_.ProcessMessages();
    }
  } catch (const Error&) {
    state.ListClipsOnEarlyEnd();
    throw;
  }
  state.ListClipsAtSourceEnd();
  const bool audio_listed = !options.mp3_mode && options.Enabled(ClipKind::kCDA);
  if (audio_listed) ListAudioTracks();
  tracks_read_ = TracksReadText(*source_, audio_listed);
  return true;
}

void ScanEngine::ListAudioTracks() {
  for (const AudioTrackSpan& track : source_->AudioTracks()) {
    TFilestruct clip;
    clip.StartOffset = track.start;
    clip.EndOffset = track.end;
    clip.Extension = std::string(kCdTrackExtension);
    clip.AudioTrack = track.number;
    clip.InfoText = CdTrackInfoText(track);
    catalogue_.push_back(std::move(clip));
    observer_.ClipListed(catalogue_.size() - 1, ListLine(catalogue_.size(), kCdTrackTypeName, catalogue_.back()));
  }
}

void ScanEngine::ShowProgress(double start_time, std::int64_t size) {
  observer_.StatusText(kStatusPanelActivity, "正在分析...");
  const double elapsed = clock_() - start_time;
  const std::int64_t elapsed_second = TimeOfDaySecond(elapsed);
  if (elapsed_second != shown_elapsed_) {
    observer_.StatusText(kStatusPanelElapsed, std::string(kStatusElapsed) + " " + TimeOfDayText(elapsed));
    shown_elapsed_ = elapsed_second;
  }
  const double remaining = RemainingSeconds(elapsed, size, source_->Position());
  const std::int64_t remaining_second = TimeOfDaySecond(remaining);
  if (remaining_second != shown_remaining_) {
    observer_.StatusText(kStatusPanelRemaining, std::string(kStatusRemaining) + " " + TimeOfDayText(remaining));
    shown_remaining_ = remaining_second;
  }
  // The full repaint is costly; it happens only while the elapsed seconds are even.
  if (elapsed_second % 60 % 2 == 0) observer_.Repaint();
}

}  // namespace rsf
