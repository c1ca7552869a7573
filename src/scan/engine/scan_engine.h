// A scan run over a whole source: opens it, reads it window by window, runs the detectors of
// the enabled clip types over each window and keeps the catalogue and the open source for
// extraction and playback. Knows nothing of any user interface: it talks through ScanObserver.
#pragma once

#include <functional>
#include <memory>

#include "scan/catalogue/clip_catalogue.h"
#include "scan/index/literal_matcher.h"
#include "scan/engine/scan_observer.h"
#include "scan/engine/scan_options.h"
#include "scan/engine/scan_state.h"
#include "stream/source_stream.h"
#include "scan/engine/window_prefetcher.h"

namespace rsf {

enum class ScanOutcome {
  kFinished,   // the source end was reached; end-of-run steps done
  kCancelled,  // the program is closing; the catalogue keeps what was found
  kNoDisc,     // the new source reports a negative size; nothing else changed
  kBusy,       // a run is already under way; nothing happened
};

inline constexpr const char* kNoDiscWarning = "错误访问 CD - 在驱动器中有光盘吗?";

class ScanEngine {
 public:
  using SourceOpener = std::function<std::unique_ptr<SourceStream>()>;
  using Clock = std::function<double()>;  // seconds

  explicit ScanEngine(ScanObserver& observer);

  // Runs a whole scan. Errors (the source cannot be opened, an unignored read error) are raised
  // as rsf::Error after the front end's busy state has been given back.
  ScanOutcome StartAnalysis(const SourceOpener& open_source, const ScanOptions& options);

  bool Running() const { return running_; }
  const ClipCatalogue& Catalogue() const { return catalogue_; }
  // The source of the last scan, kept open for extraction and playback; null before any.
  SourceStream* Source() const { return source_.get(); }
  // For a disc image: "已读轨道 : ..." with the tracks the last scan read (its data tracks, and
  // its audio tracks when they were listed); empty for other sources.
  const std::string& TracksRead() const { return tracks_read_; }
  // Ignored read errors of all runs so far.
  int ReadErrorCount() const { return read_error_count_; }

  void SetClock(Clock clock) { clock_ = std::move(clock); }
  void SetMatcherKind(MatcherKind kind) { matcher_kind_ = kind; }
  void SetFooterWait(const ScanState::FooterWait& wait) { footer_wait_ = wait; }
  void SetReadAheadStarter(WindowPrefetcher::ThreadStarter start) { start_read_ahead_ = std::move(start); }

 private:
  bool RunWindows(const ScanOptions& options, double start_time);
  // The source's audio tracks, after every clip of its bytes.
  void ListAudioTracks();
  void ShowProgress(double start_time, std::int64_t size);

  // The time texts last shown, as seconds of the day: they change about once a second, so
  // they are formatted and sent only then (-1: none shown in this run yet).
  std::string tracks_read_;
  std::int64_t shown_elapsed_ = -1;
  std::int64_t shown_remaining_ = -1;

  ScanObserver& observer_;
  std::unique_ptr<SourceStream> source_;
  ClipCatalogue catalogue_;
  int read_error_count_ = 0;
  bool running_ = false;
  Clock clock_;
  MatcherKind matcher_kind_ = MatcherKind::kBest;
  ScanState::FooterWait footer_wait_;
  WindowPrefetcher::ThreadStarter start_read_ahead_ = WindowPrefetcher::StartThread;
};

}  // namespace rsf
