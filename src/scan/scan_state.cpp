// Window machinery, one-pass signature index and footer search of a scan run.
//
// Windows are shared, not copied: saving a window keeps a second reference to it, and a
// detector that reads another window gets a fresh buffer, so restoring is a pointer swap.
#include "scan/scan_state.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/errors.h"

namespace rsf {
namespace {

// Detector reads outside the window are served from blocks of this size.
constexpr std::int64_t kPeekBlockSize = 32 * 1024;
// Walks cannot come back to points this far before the window start.
constexpr std::int64_t kWalkMargin = kWindowSize;

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
      window_(std::make_shared<Window>()) {
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
  ++read_error_count_;
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
  const std::int64_t count = source_size_ - kWindowSize > position ? kWindowSize : source_size_ - position;
  if (prefetcher_) {
    const bool taken = prefetcher_->Take(position, window.bytes);
    prefetcher_->AimAfter(position);
    if (taken) {
      source_.Seek(position + count);  // where the plain read would have left it
      return;
    }
  }
  ReadPieces(position, std::max<std::int64_t>(count, 0), window.bytes);
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
  source_.Seek(saved_->start + kWindowSize);
}

void ScanState::AdvanceWindow() {
  window_->start += kWindowStep;
  source_.Seek(window_->start);
}

SignatureId ScanState::Signature(std::string_view pattern) {
  for (std::size_t i = 0; i < patterns_.size(); ++i)
    if (patterns_[i] == pattern) return i;
  patterns_.emplace_back(pattern);
  matcher_.reset();
  return patterns_.size() - 1;
}

SignatureId ScanState::Footer(std::string_view pattern) {
  for (std::size_t i = 0; i < footers_.size(); ++i)
    if (footers_[i] == pattern) return i;
  footers_.emplace_back(pattern);
  memos_.emplace_back();
  return footers_.size() - 1;
}

void ScanState::EnsureIndexed(Window& window) {
  if (!matcher_) {
    matcher_ = MakeLiteralMatcher(patterns_, matcher_kind_);
    ++matcher_generation_;
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
  // A search from F that found X (or nothing) answers every later search from F..X at once.
  if (memo.valid && from >= memo.searched_from && (!memo.found || from <= *memo.found)) return memo.found;
  std::optional<std::int64_t> found = SearchSource(id, from);
  memos_[id] = FoundMemo{true, from, found};
  return found;
}

std::optional<std::int64_t> ScanState::SearchSource(SignatureId id, std::int64_t from) {
  const std::string& pattern = footers_[id];
  const auto length = static_cast<std::int64_t>(pattern.size());
  const std::int64_t window_end = window_->start + static_cast<std::int64_t>(window_->bytes.size());
  if (from >= window_->start && from < window_end) {
    const auto offset = static_cast<std::size_t>(from - window_->start);
    const std::size_t hit = FindBytes(Buffer().subspan(offset), pattern);
    if (hit != std::string_view::npos) return from + static_cast<std::int64_t>(hit);
  }
  // Beyond the window: read the rest of the source in window-sized chunks that overlap by one
  // byte less than the pattern, so an occurrence across any boundary is seen.
  std::int64_t position = std::max(from, window_end - (length - 1));
  while (position < source_size_) {
    const std::int64_t count = std::min(kWindowSize, source_size_ - position);
    observer_.GaugeProgress(position);
    ReadPieces(position, count, search_chunk_);
    const std::size_t hit = FindBytes(search_chunk_, pattern);
    if (hit != std::string_view::npos) return position + static_cast<std::int64_t>(hit);
    if (position + count >= source_size_) break;
    position += count - (length - 1);
  }
  return std::nullopt;
}

std::optional<Bytes> ScanState::Peek(std::int64_t offset, std::int64_t count) {
  if (offset < 0 || count <= 0 || offset > source_size_ - count) return std::nullopt;
  const Window& window = *window_;
  const auto window_size = static_cast<std::int64_t>(window.bytes.size());
  if (offset >= window.start && offset - window.start <= window_size - count)
    return Buffer().subspan(static_cast<std::size_t>(offset - window.start), static_cast<std::size_t>(count));
  const auto block_size = static_cast<std::int64_t>(peek_block_.size());
  if (offset >= peek_block_start_ && offset - peek_block_start_ <= block_size - count)
    return Bytes(peek_block_).subspan(static_cast<std::size_t>(offset - peek_block_start_), static_cast<std::size_t>(count));
  if (count > kPeekBlockSize / 2) return std::nullopt;

  // A new block from `offset` on, stopping short of the next part known to be unreadable.
  std::int64_t end = std::min(source_size_, offset + kPeekBlockSize);
  auto next_bad = unreadable_.upper_bound(offset);
  if (next_bad != unreadable_.begin() && std::prev(next_bad)->second > offset) return std::nullopt;
  if (next_bad != unreadable_.end()) end = std::min(end, next_bad->first);
  if (end - offset < count) return std::nullopt;
  peek_block_.resize(static_cast<std::size_t>(end - offset));
  source_.Seek(offset);
  if (source_.Read(peek_block_.data(), end - offset) != end - offset) {
    peek_block_.clear();
    unreadable_[offset] = end;
    return std::nullopt;
  }
  peek_block_start_ = offset;
  return Bytes(peek_block_).first(static_cast<std::size_t>(count));
}

std::int64_t ScanState::ReadSource(std::int64_t offset, void* buffer, std::int64_t count) {
  if (const std::optional<Bytes> bytes = Peek(offset, count)) {
    std::memcpy(buffer, bytes->data(), bytes->size());
    return count;
  }
  source_.Seek(offset);
  return source_.Read(buffer, count);
}

bool ScanState::AppendClip(TFilestruct clip, std::string_view type_name) {
  if (!catalogued_.emplace(clip.StartOffset, clip.Extension).second) return false;
  catalogue_.push_back(std::move(clip));
  observer_.ClipListed(catalogue_.size() - 1, ListLine(catalogue_.size(), type_name, catalogue_.back()));
  return true;
}

}  // namespace rsf
