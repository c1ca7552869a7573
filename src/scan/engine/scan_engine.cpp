// The scan run: window loop, detector dispatch in the fixed order, progress and end of run.
#include "scan/engine/scan_engine.h"

#include <fmt/format.h>

#include <chrono>
#include <span>

#include "base/errors.h"
#include "scan/detectors/classic/classic_detectors.h"
#include "scan/detectors/further/further_detectors.h"
#include "scan/detectors/mp3/mp3_tags.h"
#include "scan/detectors/precise/precise_detectors.h"
#include "scan/engine/time_text.h"

namespace rsf {
namespace {

double SteadySeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Runs every enabled detector over the current window, each followed by RestoreWindow so that
// all of them see the same window and source position.
void RunDetectors(ScanState& state, const ScanOptions& options) {
  if (options.mp3_mode) {
    FindMP3Clips(state);
    return;
  }
  auto run = [&](ClipKind kind, auto&& detector) {
    if (!options.Enabled(kind)) return;
    detector();
    state.RestoreWindow();
  };
  if (options.precise) {
    run(ClipKind::kQT, [&] { FindPreciseQuicktimeClips(state); });
    run(ClipKind::kBMP, [&] { FindPreciseBitmapClips(state); });
    run(ClipKind::kAVI, [&] { FindPreciseRiffClips(state, kAviType); });
    run(ClipKind::kWAV, [&] { FindPreciseRiffClips(state, kWavType); });
    run(ClipKind::kJPG, [&] { FindPreciseJpegClips(state); });
    run(ClipKind::kMPG, [&] { FindPreciseMpegClips(state); });
    run(ClipKind::kMVE, [&] { FindPreciseMveClips(state); });
    run(ClipKind::kRAM, [&] { FindPreciseRealMediaClips(state); });
    run(ClipKind::kBIK, [&] { FindBIKClips(state, kBinkType); });
    run(ClipKind::kSMK, [&] { FindSmackerClips(state); });
    run(ClipKind::kMID, [&] { FindPreciseMidiClips(state); });
  } else {
    run(ClipKind::kQT, [&] { FindQuicktimeClips(state); });
    run(ClipKind::kBMP, [&] { FindRIFFClips(state, kBitmapType); });
    run(ClipKind::kAVI, [&] { FindRIFFClips(state, kAviType); });
    run(ClipKind::kWAV, [&] { FindRIFFClips(state, kWavType); });
    run(ClipKind::kJPG, [&] { FindHEFOClips(state, kJpegType); });
    run(ClipKind::kMPG, [&] { FindHEFOClips(state, kMpegType); });
    run(ClipKind::kMVE, [&] { FindHEFOClips(state, kMveType); });
    run(ClipKind::kRAM, [&] { FindHEFOClips(state, kRealMediaType); });
    run(ClipKind::kBIK, [&] { FindBIKClips(state, kBinkType); });
    run(ClipKind::kSMK, [&] { FindSmackerClips(state); });
    run(ClipKind::kMID, [&] { FindSequenceClips(state, kMidiType); });
  }
  // The further types have one rule each, under both rule sets.
  run(ClipKind::kVOC, [&] { FindVocClips(state); });
  run(ClipKind::kXMI, [&] { FindXmiClips(state); });
  run(ClipKind::kMOD, [&] { FindModClips(state); });
  run(ClipKind::kS3M, [&] { FindS3mClips(state); });
  run(ClipKind::kXM, [&] { FindXmClips(state); });
  run(ClipKind::kIT, [&] { FindItClips(state); });
  run(ClipKind::kGIF, [&] { FindGifClips(state); });
  run(ClipKind::kPNG, [&] { FindPngClips(state); });
  run(ClipKind::kOGG, [&] { FindOggClips(state); });
  run(ClipKind::kFLIC, [&] { FindFlicClips(state); });
  run(ClipKind::kAIFF, [&] { FindIffClips(state, ClipKind::kAIFF); });
  run(ClipKind::kILBM, [&] { FindIffClips(state, ClipKind::kILBM); });
  run(ClipKind::k8SVX, [&] { FindIffClips(state, ClipKind::k8SVX); });
}

// Registers the signatures of every enabled detector up front, so the first window is
// indexed in one pass like all the others.
void RegisterSignatures(ScanState& state, const ScanOptions& options) {
  if (options.mp3_mode) {
    if (options.precise) state.Signature(kId3v2Signature);
    return;
  }
  auto add_all = [&](ClipKind kind, std::span<const std::string_view> patterns) {
    if (!options.Enabled(kind)) return;
    for (std::string_view pattern : patterns) state.Signature(pattern);
  };
  auto add = [&](ClipKind kind, std::initializer_list<std::string_view> patterns) {
    add_all(kind, std::span<const std::string_view>(patterns.begin(), patterns.size()));
  };
  if (options.precise) {
    add(ClipKind::kQT, {"ftyp"sv, "moov"sv, "mdat"sv});
    add(ClipKind::kBMP, {kBitmapType.Signature});
    add(ClipKind::kAVI, {kAviType.Signature});
    add(ClipKind::kWAV, {kWavType.Signature});
    add(ClipKind::kJPG, {"\xFF\xD8\xFF"sv});
    add(ClipKind::kMPG, {kMpegType.Header, "\x00\x00\x01\xB3"sv});
    add(ClipKind::kMVE, {kMveType.Header});
    add(ClipKind::kRAM, {kRealMediaType.Header, ".ra\xFD"sv});
    add(ClipKind::kBIK, {kBinkType.Signature});
    add(ClipKind::kSMK, {kSmackerSignature});
    add(ClipKind::kMID, {"RIFF"sv, kMidiType.Signature});
  } else {
    add(ClipKind::kQT, {kQuicktimeSignature});
    add(ClipKind::kBMP, {kBitmapType.Signature});
    add(ClipKind::kAVI, {kAviType.Signature});
    add(ClipKind::kWAV, {kWavType.Signature});
    // Footers too: the scan's own index finds those that lie beyond a header's window.
    add(ClipKind::kJPG, {kJpegType.Header, kJpegType.Footer});
    add(ClipKind::kMPG, {kMpegType.Header, kMpegType.Footer});
    add(ClipKind::kMVE, {kMveType.Header, kMveType.Footer});
    add(ClipKind::kRAM, {kRealMediaType.Header, kRealMediaType.Footer});
    add(ClipKind::kBIK, {kBinkType.Signature});
    add(ClipKind::kSMK, {kSmackerSignature});
    add(ClipKind::kMID, {kMidiType.Signature});
  }
  add(ClipKind::kVOC, {kVocSignature});
  add(ClipKind::kXMI, {kXmiSignature});
  add_all(ClipKind::kMOD, kModTags);
  add(ClipKind::kS3M, {kS3mSignature});
  add(ClipKind::kXM, {kXmSignature});
  add(ClipKind::kIT, {kItSignature});
  add(ClipKind::kGIF, {kGif87Signature, kGif89Signature});
  add(ClipKind::kPNG, {kPngSignature});
  add(ClipKind::kOGG, {kOggSignature});
  add(ClipKind::kFLIC, {kFliSignature, kFlcSignature});
  add_all(ClipKind::kAIFF, kAiffForms);
  add_all(ClipKind::kILBM, kIlbmForms);
  add_all(ClipKind::k8SVX, k8svxForms);
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
  observer_.StatusText(kStatusPanelActivity, fmt::format("分析完成。错误 : {}", read_error_count_));
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
  return true;
}

void ScanEngine::ShowProgress(double start_time, std::int64_t size) {
  observer_.StatusText(kStatusPanelActivity, "正在分析...");
  const double elapsed = clock_() - start_time;
  const std::int64_t elapsed_second = TimeOfDaySecond(elapsed);
  if (elapsed_second != shown_elapsed_) {
    observer_.StatusText(kStatusPanelElapsed, "使用时间: " + TimeOfDayText(elapsed));
    shown_elapsed_ = elapsed_second;
  }
  const double remaining = RemainingSeconds(elapsed, size, source_->Position());
  const std::int64_t remaining_second = TimeOfDaySecond(remaining);
  if (remaining_second != shown_remaining_) {
    observer_.StatusText(kStatusPanelRemaining, "剩余: " + TimeOfDayText(remaining));
    shown_remaining_ = remaining_second;
  }
  // The full repaint is costly; it happens only while the elapsed seconds are even.
  if (elapsed_second % 60 % 2 == 0) observer_.Repaint();
}

}  // namespace rsf
