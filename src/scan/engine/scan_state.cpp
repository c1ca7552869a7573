// Window machinery, one-pass signature index and footer search of a scan run.
//
// Windows are shared, not copied: saving a window keeps a second reference to it, and a
// detector that reads another window gets a fresh buffer, so restoring is a pointer swap.
#include "scan/engine/scan_state.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "base/errors.h"

namespace rsf {
namespace {

// Walks cannot come back to points this far before the window start.
constexpr std::int64_t kWalkMargin = kWindowSize;

double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

ScanState::ScanState(SourceStream& source, const ScanOptions& options, ScanObserver& observer,
                     ClipCatalogue& catalogue, int& read_error_count, MatcherKind matcher_kind,
                     const WindowPrefetcher::ThreadStarter& start_read_ahead)
    : source_(source),
      options_(options),
      observer_(observer),
      catalogue_(catalogue),
      read_error_count_(read_error_count),
      matcher_kind_(matcher_kind),
      source_size_(source.Size()),
      window_(std::make_shared<Window>()),
      view_(source, source_size_) {
  for (const TFilestruct& clip : catalogue_) catalogued_.emplace(clip.StartOffset, clip.Extension);
  if (source_.CanReadConcurrently() && source_size_ > kWindowSize) {
    try {
      prefetcher_ = std::make_unique<WindowPrefetcher>(source_, source_size_, start_read_ahead);
    } catch (const std::exception&) {
      prefetcher_.reset();  // no thread to be had: the plain reads serve
    }
  }
}

ScanState::~ScanState() = default;

void ScanState::HandleReadError() {
  if (!options_.ignore_read_errors) throw StreamReadError();
  if (!looking_ahead_) ++read_error_count_;
}

void ScanState::ReadPieces(std::int64_t offset, std::int64_t count, std::vector<std::uint8_t>& out) {
  out.resize(static_cast<std::size_t>(count));
  source_.Seek(offset);
  std::int64_t done = 0;
  while (done < count) {
    const std::int64_t piece = std::min(kCopyPieceSize, count - done);
    try {
      source_.ReadBuffer(out.data() + done, piece);
    } catch (const StreamReadError&) {
      out.resize(static_cast<std::size_t>(done));
      HandleReadError();
      return;
    }
    done += piece;
  }
}

void ScanState::ReadWindow() {
  const std::int64_t position = source_.Position();
  observer_.GaugeProgress(position);
  if (window_ == saved_) {
    window_ = spare_ ? std::move(spare_) : std::make_shared<Window>();
    spare_.reset();
  }
  Window& window = *window_;
  window.start = position;
  window.index_generation = 0;
  for (WalkMemo& memo : walks_) memo.ForgetBelow(position - kWalkMargin);
  jpeg_entropy_.ForgetBelow(position - kWalkMargin);
  const std::int64_t count = WindowLengthAt(position, source_size_);
  if (prefetcher_) {
    std::size_t generation = 0;
    const bool taken = prefetcher_->Take(position, window.bytes, window.starts, generation);
    prefetcher_->AimAfter(position);
    if (taken) {
      if (generation != 0 && generation == matcher_generation_) {
        window.cursors.assign(patterns_.size(), 0);
        window.index_generation = generation;
      }
      source_.Seek(position + count);  // where the plain read would have left it
      ShowWindowToView();
      if (!unlisted_.empty()) SettleWaitingClips();
      return;
    }
  }
  {
    // A read error raised here leaves the view on the window's pieces read so far.
    struct Show {
      ScanState& state;
      ~Show() { state.ShowWindowToView(); }
    } show{*this};
    ReadPieces(position, count, window.bytes);
  }
  if (!unlisted_.empty()) SettleWaitingClips();
}

void ScanState::ShowWindowToView() { view_.SetWindow(window_->start, window_->bytes); }

void ScanState::MoveWindowTo(std::int64_t offset) {
  source_.Seek(offset);
  ReadWindow();
}

void ScanState::PositionBehindWindow() {
  source_.Seek(window_->start + static_cast<std::int64_t>(window_->bytes.size()));
}

void ScanState::SaveWindow() {
  if (window_ != saved_) spare_ = std::move(saved_);
  saved_ = window_;
}

void ScanState::RestoreWindow() {
  source_.Seek(saved_->start);
  observer_.GaugeProgress(saved_->start);
  if (window_ != saved_) {
    spare_ = std::move(window_);
    window_ = saved_;
  }
  ShowWindowToView();
  source_.Seek(saved_->start + kWindowSize);
}

void ScanState::AdvanceWindow() {
  window_->start += kWindowStep;
  ShowWindowToView();
  source_.Seek(window_->start);
}

ClipNesting& ScanState::WalkedClips(std::string_view extension) {
  const auto found = walked_clips_.find(extension);
  if (found != walked_clips_.end()) return found->second;
  return walked_clips_.emplace(std::string(extension), ClipNesting()).first->second;
}

SignatureId ScanState::Signature(std::string_view pattern) {
  if (const auto known = pattern_ids_.find(pattern); known != pattern_ids_.end()) return known->second;
  pattern_ids_.emplace(std::string(pattern), patterns_.size());
  patterns_.emplace_back(pattern);
  if (signatures_registered_) unregistered_signatures_.emplace_back(pattern);
  matcher_.reset();
  return patterns_.size() - 1;
}

SignatureId ScanState::Footer(std::string_view pattern) {
  for (std::size_t i = 0; i < footers_.size(); ++i)
    if (footers_[i] == pattern) return i;
  footers_.emplace_back(pattern);
  footer_matchers_.emplace_back();
  memos_.emplace_back();
  later_memos_.emplace_back();
  return footers_.size() - 1;
}

void ScanState::EnsureIndexed(Window& window) {
  if (!matcher_) {
    matcher_ = MakeLiteralMatcher(patterns_, matcher_kind_);
    ++matcher_generation_;
    // The read-ahead indexes windows with a matcher of its own while it waits for the scan.
    if (prefetcher_) prefetcher_->SetIndexer(MakeLiteralMatcher(patterns_, matcher_kind_), matcher_generation_);
  }
  if (window.index_generation == matcher_generation_) return;
  matcher_->FindAll(window.bytes, window.starts);
  window.cursors.assign(patterns_.size(), 0);
  window.index_generation = matcher_generation_;
}

std::size_t ScanState::NextCandidate(SignatureId id, std::size_t from) {
  EnsureIndexed(*window_);
  const std::vector<std::uint32_t>& starts = window_->starts[id];
  // Detectors walk their candidates forward, asking for the one after the last answer: that
  // is where the cursor stands, so the common step costs one comparison.
  std::size_t& cursor = window_->cursors[id];
  if (cursor > 0 && starts[cursor - 1] >= from) cursor = 0;
  if (cursor < starts.size() && starts[cursor] < from)
    cursor = static_cast<std::size_t>(std::lower_bound(starts.begin() + static_cast<std::ptrdiff_t>(cursor), starts.end(), from) -
                                      starts.begin());
  if (cursor == starts.size()) return kNoCandidate;
  return starts[cursor++];
}

std::optional<std::int64_t> ScanState::FindInSource(SignatureId id, std::int64_t from) {
  FoundMemo& memo = memos_[id];
  if (memo.Answers(from)) return memo.found;
  std::optional<std::int64_t> found;
  if (memo.valid && from < memo.searched_from) {
    // Searches that step back (walks whose chunks jump backwards) read only what lies before
    // the last one's start; behind it that one's answer holds.
    found = SearchSource(id, from, memo.searched_from);
    if (!found) found = memo.found;
  } else {
    found = SearchSource(id, from, source_size_);
  }
  memo = FoundMemo{true, from, found};
  return found;
}

const LiteralMatcher& ScanState::FooterMatcher(SignatureId id) {
  if (!footer_matchers_[id]) footer_matchers_[id] = MakeLiteralMatcher({footers_[id]}, matcher_kind_);
  return *footer_matchers_[id];
}

std::optional<std::int64_t> ScanState::FindInWindow(SignatureId id, std::int64_t from) {
  const std::int64_t window_end = window_->start + static_cast<std::int64_t>(window_->bytes.size());
  if (from < window_->start || from >= window_end) return std::nullopt;
  const auto offset = static_cast<std::size_t>(from - window_->start);
  const std::size_t hit = FooterMatcher(id).FindFirst(Buffer().subspan(offset));
  if (hit == std::string_view::npos) return std::nullopt;
  return from + static_cast<std::int64_t>(hit);
}

std::optional<std::int64_t> ScanState::SearchSource(SignatureId id, std::int64_t from, std::int64_t limit) {
  if (const std::optional<std::int64_t> hit = FindInWindow(id, from)) {
    if (*hit < limit) return hit;
    return std::nullopt;
  }
  const auto length = static_cast<std::int64_t>(footers_[id].size());
  const LiteralMatcher& matcher = FooterMatcher(id);
  const std::int64_t window_end = window_->start + static_cast<std::int64_t>(window_->bytes.size());
  // Beyond the window: read the rest of the source in window-sized chunks that overlap by one
  // byte less than the pattern, so an occurrence across any boundary is seen.
  std::int64_t position = std::max(from, window_end - (length - 1));
  const std::int64_t stop = std::min(source_size_, limit + length - 1);  // a footer starting before `limit` ends here
  while (position < stop) {
    const std::int64_t count = std::min(kWindowSize, stop - position);
    observer_.GaugeProgress(position);
    ReadPieces(position, count, search_chunk_);
    const std::size_t hit = matcher.FindFirst(search_chunk_);
    if (hit != std::string_view::npos) return position + static_cast<std::int64_t>(hit);
    if (position + count >= stop) break;
    position += count - (length - 1);
  }
  return std::nullopt;
}

std::optional<std::int64_t> ScanState::SearchLaterWindows(SignatureId id, std::int64_t from) {
  // As with FindInSource (the windows between were searched for the later header too, and held
  // nothing).
  if (later_memos_[id].Answers(from)) return later_memos_[id].found;
  const std::optional<std::int64_t> found = SearchWindowsFrom(id, from, window_->start + kWindowStep);
  later_memos_[id] = FoundMemo{true, from, found};
  return found;
}

std::optional<std::int64_t> ScanState::SearchWindowsFrom(SignatureId id, std::int64_t from, std::int64_t first_window) {
  const LiteralMatcher& matcher = FooterMatcher(id);
  for (std::int64_t start = first_window; start < source_size_; start += kWindowStep) {
    const std::int64_t count = WindowLengthAt(start, source_size_);
    ReadPieces(start, count, search_chunk_);
    const std::size_t offset = from > start ? static_cast<std::size_t>(from - start) : 0;
    if (offset >= search_chunk_.size()) continue;
    const std::size_t hit = matcher.FindFirst(Bytes(search_chunk_).subspan(offset));
    if (hit != std::string_view::npos) return start + static_cast<std::int64_t>(offset + hit);
  }
  return std::nullopt;
}

bool ScanState::AppendClip(TFilestruct clip, std::string_view type_name) {
  if (options_.precise && nesting_.Covered(clip.StartOffset, clip.EndOffset)) return false;
  if (!catalogued_.emplace(clip.StartOffset, clip.Extension).second) return false;
  if (options_.precise) nesting_.Add(clip.StartOffset, clip.EndOffset);
  if (unlisted_.empty())
    ListClip(std::move(clip), type_name);
  else
    unlisted_.push_back({std::move(clip), std::string(type_name), false, 0, 0, 0, 0, 0});
  return true;
}

bool ScanState::AppendOpenClip(TFilestruct clip, std::string_view type_name, std::int64_t proven_to) {
  if (nesting_.Covered(clip.StartOffset, clip.EndOffset)) return false;
  if (!catalogued_.emplace(clip.StartOffset, clip.Extension).second) return false;
  nesting_.Add(clip.StartOffset, proven_to);
  clip.OpenEnd = true;
  if (!clip.InfoText.empty()) clip.InfoText += "\r\n";
  clip.InfoText += kOpenEndInfoLine;
  Unlisted entry{std::move(clip), std::string(type_name)};
  entry.waiting = true;
  entry.open_end = true;
  entry.proven_to = proven_to;
  unlisted_.push_back(std::move(entry));
  return true;
}

std::int64_t ScanState::NextCataloguedStart(std::int64_t offset) const {
  const auto next = catalogued_.lower_bound({offset + 1, std::string()});
  return next == catalogued_.end() ? std::numeric_limits<std::int64_t>::max() : next->first;
}

void ScanState::SettleOpenEnds(std::int64_t seen_to) {
  for (Unlisted& entry : unlisted_) {
    if (!entry.waiting || !entry.open_end) continue;
    const std::int64_t end = std::min(entry.clip.EndOffset, NextCataloguedStart(entry.proven_to - 1));
    if (end > seen_to - kLongestLeadIn) continue;  // a clip may still turn up before it
    entry.clip.EndOffset = end;
    entry.waiting = false;
    // Its own proven part is already among the listed ones; only another clip can hold it whole.
    if (end > entry.proven_to && nesting_.Covered(entry.clip.StartOffset, end)) {
      entry.dropped = true;
      catalogued_.erase({entry.clip.StartOffset, entry.clip.Extension});
    } else {
      nesting_.Add(entry.clip.StartOffset, end);
    }
  }
}

bool ScanState::AppendClipAtFooter(TFilestruct clip, std::string_view type_name, std::string_view footer,
                                   std::int64_t footer_from, std::int64_t tail) {
  if (options_.precise) {
    // The precise rules leave out clips that lie inside listed ones, which needs every end at once.
    const std::optional<std::int64_t> found = FindInSource(Footer(footer), footer_from);
    if (!found) return false;
    clip.EndOffset = *found + tail;
    return AppendClip(std::move(clip), type_name);
  }
  if (!catalogued_.emplace(clip.StartOffset, clip.Extension).second) return false;
  unlisted_.push_back(
      {std::move(clip), std::string(type_name), true, Signature(footer), Footer(footer), footer_from, tail, SteadySeconds()});
  return true;
}

void ScanState::ListClip(TFilestruct clip, std::string_view type_name) {
  catalogue_.push_back(std::move(clip));
  observer_.ClipListed(catalogue_.size() - 1, ListLine(catalogue_.size(), type_name, catalogue_.back()));
}

void ScanState::SettleWaitingClips() {
  const std::int64_t start = window_->start;
  // The windows before this one, which reached kWindowOverlap bytes into it, have been scanned.
  SettleOpenEnds(start + kWindowOverlap);
  for (Unlisted& entry : unlisted_) {
    if (!entry.waiting || entry.open_end) continue;
    // Earlier windows held no footer at footer_from or later (a footer lies whole in some window,
    // as windows overlap by more than the longest footer; one in a part of a window that could
    // not be read is not seen), so the first one here is it.
    const std::size_t from = entry.footer_from > start ? static_cast<std::size_t>(entry.footer_from - start) : 0;
    if (from >= window_->bytes.size()) continue;
    const std::size_t found = NextCandidate(entry.footer_signature, from);
    if (found == kNoCandidate) continue;
    entry.clip.EndOffset = start + static_cast<std::int64_t>(found) + entry.tail;
    entry.waiting = false;
  }
  ListSettledClips();
  // A footer that lies far on is looked for at once in the windows still to come, read as the
  // scan will read them, so it is the one the scan would find; the scan reads them again, and
  // counts what it cannot read, when it gets there.
  const std::int64_t position = source_.Position();
  auto waited_enough = [&](const Unlisted& entry) {
    return entry.waiting && !entry.open_end && (start - entry.footer_from > footer_wait_.bytes || SteadySeconds() - entry.since > footer_wait_.seconds);
  };
  while (!unlisted_.empty() && waited_enough(unlisted_.front())) {
    Unlisted& entry = unlisted_.front();
    looking_ahead_ = true;
    struct Done {
      bool& looking_ahead;
      ~Done() { looking_ahead = false; }
    } done{looking_ahead_};
    const std::optional<std::int64_t> found = SearchLaterWindows(entry.footer_id, entry.footer_from);
    if (found) {
      entry.clip.EndOffset = *found + entry.tail;
      entry.waiting = false;
    } else {
      catalogued_.erase({entry.clip.StartOffset, entry.clip.Extension});
      unlisted_.pop_front();
    }
    ListSettledClips();
  }
  source_.Seek(position);
}

void ScanState::ListSettledClips() {
  while (!unlisted_.empty() && !unlisted_.front().waiting) {
    if (!unlisted_.front().dropped) ListClip(std::move(unlisted_.front().clip), unlisted_.front().type_name);
    unlisted_.pop_front();
  }
}

void ScanState::ListClipsAtSourceEnd() {
  SettleOpenEnds(std::numeric_limits<std::int64_t>::max());
  while (!unlisted_.empty()) {
    if (unlisted_.front().waiting)
      unlisted_.pop_front();  // no footer before the source end: no clip
    else
      ListSettledClips();
  }
}

void ScanState::ListClipsOnEarlyEnd() {
  SettleOpenEnds(std::numeric_limits<std::int64_t>::max());
  ListSettledClips();
  unlisted_.clear();
}

}  // namespace rsf
