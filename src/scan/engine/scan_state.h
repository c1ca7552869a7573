// The scan state that every detector works on: the current window with its saved copy, the
// one-pass signature index of the window, footer search across windows, the view through which
// detectors read the source, and the catalogue that detectors append to.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/bytes.h"
#include "scan/catalogue/clip_catalogue.h"
#include "scan/catalogue/clip_nesting.h"
#include "scan/engine/copy_piece_size.h"
#include "scan/index/literal_matcher.h"
#include "scan/engine/scan_observer.h"
#include "scan/engine/scan_options.h"
#include "scan/engine/source_view.h"
#include "stream/source_stream.h"
#include "scan/walk/walk_memo.h"
#include "scan/engine/window_prefetcher.h"

namespace rsf {

inline constexpr std::int64_t kWindowSize = 63488;    // 0xF800
inline constexpr std::int64_t kWindowOverlap = 40;
inline constexpr std::int64_t kWindowStep = kWindowSize - kWindowOverlap;
inline constexpr std::size_t kNoCandidate = static_cast<std::size_t>(-1);

// Length of the window that starts at `start` in a source of `size` bytes: a whole window, or
// what is left before the end (0 at or past it).
inline std::int64_t WindowLengthAt(std::int64_t start, std::int64_t size) {
  return size - kWindowSize > start ? kWindowSize : std::max<std::int64_t>(size - start, 0);
}

// How far behind a clip's start its signature may lie, with the signature itself (a module's
// tag stands 1,080 bytes in): a window that ends this far beyond an offset has shown every clip
// that starts before it.
inline constexpr std::int64_t kLongestLeadIn = 2048;

using SignatureId = std::size_t;

class ScanState {
 public:
  // `start_read_ahead` starts the background read-ahead's thread; when that fails the scan
  // reads every window itself.
  ScanState(SourceStream& source, const ScanOptions& options, ScanObserver& observer, ClipCatalogue& catalogue,
            int& read_error_count, MatcherKind matcher_kind = MatcherKind::kBest,
            const WindowPrefetcher::ThreadStarter& start_read_ahead = WindowPrefetcher::StartThread);
  ~ScanState();

  // --- the window machinery ---
  // Fills the window from the current source position, which becomes the window start.
  void ReadWindow();
  // Remembers the current window so that RestoreWindow can bring it back.
  void SaveWindow();
  // Puts the saved window back and positions the source one window size behind its start.
  void RestoreWindow();
  // Moves the window start on by one window less the overlap and seeks the source there.
  void AdvanceWindow();
  // Reads a new window starting at `offset` (MP3 mode moves behind each clip it finds).
  void MoveWindowTo(std::int64_t offset);
  // Positions the source behind the current window, where the time estimate looks.
  void PositionBehindWindow();

  Bytes Buffer() const { return window_->bytes; }
  std::int64_t WindowStart() const { return window_->start; }
  std::int64_t SourceSize() const { return source_size_; }
  // How detectors read the source beyond the window.
  SourceView& View() { return view_; }
  const ScanOptions& Options() const { return options_; }
  ScanObserver& Observer() { return observer_; }

  // --- searching ---
  // Registers a byte string to be found by the one-pass search; the same string gives the same id.
  SignatureId Signature(std::string_view pattern);
  // Marks the detectors' signatures as registered: from here on a new pattern costs a rebuild of
  // the index, so it is remembered for the tests that check every detector's record is complete.
  void SignaturesRegistered() { signatures_registered_ = true; }
  const std::vector<std::string>& UnregisteredSignatures() const { return unregistered_signatures_; }
  // Registers a byte string that is looked for on demand (a footer: FindInSource, FindInWindow)
  // with a matcher of its own, not in every window's one-pass index.
  SignatureId Footer(std::string_view pattern);
  // Index in the window of the first occurrence of the signature that begins at `from` or later,
  // or kNoCandidate. Overlapping occurrences are all found.
  std::size_t NextCandidate(SignatureId id, std::size_t from);
  // Source offset of the first occurrence of the footer that begins at `from` or later,
  // wherever window boundaries fall; nullopt when none lies before the source end. Reads
  // further parts of the source as needed without changing the window; the source position is
  // left anywhere. Remembers what it found so that repeated searches cost nothing.
  std::optional<std::int64_t> FindInSource(SignatureId id, std::int64_t from);
  // Source offset of the first occurrence of the footer that begins at `from` or later and lies
  // whole in the current window; nullopt when there is none.
  std::optional<std::int64_t> FindInWindow(SignatureId id, std::int64_t from);

  // Where earlier walks of a kind went, for the detectors that walk forward through the source.
  enum class WalkKind {
    kQuicktimeChain,
    kChunkRun,
    // The precise rules' walks.
    kJpegSegments,
    kMpegPackets,
    kAtomChain,
    kRiffChunks,
    kMidiChunks,
    kMveChunks,
    kVideoStartCodes,
    kRealMediaPackets,
    // The further types' walks.
    kVocBlocks,
    kGifBlocks,
    kGifSubBlocks,
    kPngChunks,
    kFlicChunks,
    kIffChunks,
    kCount
  };
  WalkMemo& Walks(WalkKind kind) { return walks_[static_cast<std::size_t>(kind)]; }
  // Entropy-coded JPEG data already scanned for its next marker.
  StretchMemo& JpegEntropyStretches() { return jpeg_entropy_; }
  // The clips of one extension that walking detectors accepted, listed or not.
  ClipNesting& WalkedClips(std::string_view extension);

  // --- the catalogue ---
  // Appends a clip and lists it, unless an entry with the same extension and start offset is
  // already catalogued, or (with the precise rules) a listed clip holds it whole. Returns
  // whether it was appended.
  bool AppendClip(TFilestruct clip, std::string_view type_name);
  // Appends a clip that ends `tail` bytes after the start of the first `footer` that begins at
  // `footer_from` or later, where that lies beyond the window: the scan's own index finds it
  // when its window comes, so a footer met within the wait (SetFooterWait) costs no reading of
  // its own. The clip and every clip appended after it are listed once the footer is found;
  // without a footer before the source end there is no clip. Registers `footer` as a signature
  // (the scan registers it up front). Returns false when an entry with the same extension and
  // start was already appended, and (precise rules, where the footer is searched for at once)
  // when there is no footer.
  bool AppendClipAtFooter(TFilestruct clip, std::string_view type_name, std::string_view footer,
                          std::int64_t footer_from, std::int64_t tail);
  // Appends a clip whose end the precise rules could not prove from its structure; its
  // EndOffset is where its walk ended, and its own elements reach `proven_to`. What lies in that
  // proven part is part of it, as in any clip; beyond it the clip hides nothing: clips found
  // there are listed, and it ends at the start of the first clip catalogued there, or where its
  // walk ended, whichever comes first. It is listed once no clip can still be found before
  // that end; the clips appended after it wait behind it, in order. Returns false when an
  // entry with the same extension and start was already appended.
  bool AppendOpenClip(TFilestruct clip, std::string_view type_name, std::int64_t proven_to);
  // At the source end: clips still waiting for a footer are left out (there is none), open ends
  // are settled, and the rest are listed.
  void ListClipsAtSourceEnd();
  // When the run ends early (the program closing, an error): open ends are settled with the
  // clips found so far and listed with the clips behind them, up to the first clip still
  // waiting for a footer, which is left out with those behind it. (Searching the footers now
  // could read on to the source end while the program closes.)
  void ListClipsOnEarlyEnd();
  // How long the list may wait for a footer: once the scan has gone this far past the header,
  // or this many seconds have passed (checked at each window), the scan reads on for the footer
  // itself. On a fast source the footer is met long before; on a slow one (a disc) the list
  // waits about a second longer than it did when the footer was searched for at the header.
  struct FooterWait {
    std::int64_t bytes = std::numeric_limits<std::int64_t>::max();
    double seconds = 1.0;
  };
  void SetFooterWait(const FooterWait& wait) { footer_wait_ = wait; }
  const ClipCatalogue& Catalogue() const { return catalogue_; }

  // A stream read error during a scan read: counted and skipped when the option says so,
  // raised again otherwise.
  void HandleReadError();

 private:
  struct Window {
    std::int64_t start = 0;
    std::vector<std::uint8_t> bytes;
    std::vector<std::vector<std::uint32_t>> starts;  // by signature id
    std::vector<std::size_t> cursors;                // by signature id: where the last answer stood
    std::size_t index_generation = 0;                // 0: not indexed yet
  };
  // A search from F that found X (or nothing) answers every later search from F..X.
  struct FoundMemo {
    bool valid = false;
    std::int64_t searched_from = 0;
    std::optional<std::int64_t> found;
    bool Answers(std::int64_t from) const {
      return valid && from >= searched_from && (!found || from <= *found);
    }
  };

  void EnsureIndexed(Window& window);
  // Tells the view which window is current.
  void ShowWindowToView();
  // The first footer at `from` or later that starts before `limit`.
  std::optional<std::int64_t> SearchSource(SignatureId id, std::int64_t from, std::int64_t limit);
  const LiteralMatcher& FooterMatcher(SignatureId id);

  // Reads `count` bytes from `offset` into `out` in pieces; stops at a failing piece
  // (handled as a scan read error), leaving `out` holding the pieces read before it.
  void ReadPieces(std::int64_t offset, std::int64_t count, std::vector<std::uint8_t>& out);

  // An appended clip that is not listed yet because it, or one before it, waits for its footer.
  struct Unlisted {
    TFilestruct clip;
    std::string type_name;
    bool waiting = false;  // EndOffset is not known yet
    SignatureId footer_signature = 0;
    SignatureId footer_id = 0;  // the same string as a footer, for its own matcher
    std::int64_t footer_from = 0;
    std::int64_t tail = 0;
    double since = 0;  // steady-clock seconds when it began to wait
    bool open_end = false;  // waits for the next clip, not a footer; EndOffset: where its walk ended
    std::int64_t proven_to = 0;  // of an open end: how far its own elements reach
    bool dropped = false;   // settled inside a listed clip: not listed after all
  };
  void ListClip(TFilestruct clip, std::string_view type_name);
  // Gives waiting clips the footers the current window holds and lists the clips before the
  // first one that still waits.
  void SettleWaitingClips();
  // The first footer at `from` or later in the windows after the current one, each read as the
  // scan reads it; the source position is left anywhere.
  std::optional<std::int64_t> SearchLaterWindows(SignatureId id, std::int64_t from);
  // The first footer at `from` or later in the scan's windows from the one at `first_window` on.
  std::optional<std::int64_t> SearchWindowsFrom(SignatureId id, std::int64_t from, std::int64_t first_window);
  // Ends the open clips whose end can no longer move: every clip that starts before `seen_to`
  // has been found.
  void SettleOpenEnds(std::int64_t seen_to);
  // The start of the first clip catalogued after `offset`, or the largest offset when there is none.
  std::int64_t NextCataloguedStart(std::int64_t offset) const;
  void ListSettledClips();

  SourceStream& source_;
  const ScanOptions& options_;
  ScanObserver& observer_;
  ClipCatalogue& catalogue_;
  int& read_error_count_;
  const MatcherKind matcher_kind_;
  const std::int64_t source_size_;

  std::vector<std::string> patterns_;
  struct PatternHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view pattern) const { return std::hash<std::string_view>()(pattern); }
  };
  // Detectors ask for their ids in every window, so the lookup is a hash, not a tree of compares.
  std::unordered_map<std::string, SignatureId, PatternHash, std::equal_to<>> pattern_ids_;
  bool signatures_registered_ = false;
  std::vector<std::string> unregistered_signatures_;
  std::vector<std::string> footers_;
  std::vector<std::unique_ptr<LiteralMatcher>> footer_matchers_;  // by footer id, made at its first search
  std::unique_ptr<LiteralMatcher> matcher_;
  std::size_t matcher_generation_ = 0;
  std::vector<FoundMemo> memos_;
  std::vector<FoundMemo> later_memos_;  // of SearchLaterWindows, by footer id

  std::shared_ptr<Window> window_;
  std::shared_ptr<Window> saved_;
  std::shared_ptr<Window> spare_;
  std::vector<std::uint8_t> search_chunk_;
  std::set<std::pair<std::int64_t, std::string>> catalogued_;
  std::deque<Unlisted> unlisted_;  // in the order the clips were appended
  FooterWait footer_wait_;
  bool looking_ahead_ = false;  // a footer search reads where the scan has not been yet
  ClipNesting nesting_;
  std::unique_ptr<WindowPrefetcher> prefetcher_;

  SourceView view_;
  WalkMemo walks_[static_cast<std::size_t>(WalkKind::kCount)];
  StretchMemo jpeg_entropy_;
  std::map<std::string, ClipNesting, std::less<>> walked_clips_;  // by extension
};

}  // namespace rsf
