// Background read-ahead of scan windows.
#include "scan/engine/window_prefetcher.h"

#include <algorithm>
#include <cassert>

#include "scan/engine/scan_state.h"

namespace rsf {
namespace {

// Windows read ahead at most. A reader that found them all taken waits until half are free
// again, and each side wakes the other only when it waits: the threads meet a few times per
// handful of windows instead of twice in every window.
constexpr std::size_t kReadAheadWindows = 8;
constexpr std::size_t kResumeAt = kReadAheadWindows / 2;

}  // namespace

WindowPrefetcher::WindowPrefetcher(const SourceStream& source, std::int64_t size, const ThreadStarter& start)
    : source_(source), size_(size), worker_(start([this] { Work(); })) {}

WindowPrefetcher::~WindowPrefetcher() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  worker_.join();
}

std::int64_t WindowPrefetcher::WindowLength(std::int64_t start) const {
  return WindowLengthAt(start, size_);
}

void WindowPrefetcher::AimAfter(std::int64_t start) {
  std::lock_guard lock(mutex_);
  const std::int64_t first = start + kWindowStep;
  auto on_track = [&](const Slot& slot) {
    return slot.start >= first && (slot.start - first) % kWindowStep == 0 &&
           (slot.start - first) / kWindowStep < static_cast<std::int64_t>(kReadAheadWindows);
  };
  // Windows read for another track (the scan jumped) are of no use any more.
  for (Slot& slot : slots_)
    if (slot.done && !on_track(slot)) spare_.push_back(std::move(slot.bytes));
  std::erase_if(slots_, [&](const Slot& slot) { return slot.done && !on_track(slot); });
  std::int64_t next = first;
  while (next < size_ &&
         std::any_of(slots_.begin(), slots_.end(), [&](const Slot& slot) { return slot.start == next; }))
    next += kWindowStep;
  const std::int64_t aimed = next < size_ ? next : -1;
  const bool moved = aimed != next_;
  next_ = aimed;
  if (moved || (reader_resting_ && slots_.size() <= kResumeAt)) wake_.notify_all();
}

bool WindowPrefetcher::Take(std::int64_t start, std::vector<std::uint8_t>& bytes, Index& index,
                            std::size_t& generation) {
  std::unique_lock lock(mutex_);
  assert(!taking_ && "WindowPrefetcher::Take has one consumer");
  taking_ = true;
  generation = 0;
  // The worker appends to the deque while we wait, which moves its elements: look the slot up
  // again after every wait instead of holding an iterator.
  auto find = [&] {
    return std::find_if(slots_.begin(), slots_.end(), [&](const Slot& slot) { return slot.start == start; });
  };
  if (find() == slots_.end()) {
    taking_ = false;
    return false;
  }
  consumer_waiting_ = true;
  wake_.wait(lock, [&] { return find()->done && !find()->indexing; });
  consumer_waiting_ = false;
  auto it = find();
  const bool whole = it->whole;
  if (whole) {
    spare_.push_back(std::move(bytes));
    bytes = std::move(it->bytes);
    if (it->generation != 0 && it->generation == indexer_generation_) {
      spare_indexes_.push_back(std::move(index));
      index = std::move(it->index);
      generation = it->generation;
    }
  } else {
    spare_.push_back(std::move(it->bytes));
  }
  slots_.erase(it);
  taking_ = false;
  if (reader_resting_ && slots_.size() <= kResumeAt) wake_.notify_all();
  return whole;
}

void WindowPrefetcher::SetIndexer(std::unique_ptr<LiteralMatcher> matcher, std::size_t generation) {
  std::lock_guard lock(mutex_);
  indexer_ = std::move(matcher);
  indexer_generation_ = indexer_ ? generation : 0;
  wake_.notify_all();
}

bool WindowPrefetcher::HasIndexWork() const {
  return indexer_ && std::any_of(slots_.begin(), slots_.end(), [&](const Slot& slot) {
           return slot.done && slot.whole && !slot.indexing && slot.tried != indexer_generation_;
         });
}

bool WindowPrefetcher::IndexOne(std::unique_lock<std::mutex>& lock) {
  // The scan takes windows from the front: the back one is wanted last.
  auto it = std::find_if(slots_.rbegin(), slots_.rend(), [&](const Slot& slot) {
    return slot.done && slot.whole && !slot.indexing && slot.tried != indexer_generation_;
  });
  if (!indexer_ || it == slots_.rend()) return false;
  it->indexing = true;
  it->tried = indexer_generation_;
  const std::int64_t start = it->start;
  const std::shared_ptr<const LiteralMatcher> matcher = indexer_;
  const std::size_t generation = indexer_generation_;
  std::vector<std::uint8_t> bytes = std::move(it->bytes);
  Index index = std::move(it->index);
  if (index.empty() && !spare_indexes_.empty()) {
    index = std::move(spare_indexes_.back());
    spare_indexes_.pop_back();
  }
  lock.unlock();

  bool indexed = true;
  try {
    matcher->FindAll(bytes, index);
  } catch (...) {
    indexed = false;  // the scan indexes the window itself; this matcher does not try it again
  }

  lock.lock();
  // The scan may have dropped the window meanwhile (it jumped elsewhere); a Take waits for it.
  auto slot = std::find_if(slots_.begin(), slots_.end(), [&](const Slot& s) { return s.start == start && s.indexing; });
  if (slot != slots_.end()) {
    slot->bytes = std::move(bytes);
    slot->index = std::move(index);
    slot->generation = indexed ? generation : 0;
    slot->indexing = false;
  } else {
    spare_.push_back(std::move(bytes));
  }
  if (consumer_waiting_) wake_.notify_all();
  return true;
}

void WindowPrefetcher::Work() {
  try {
    ReadAhead();
  } catch (...) {
    // The read-ahead ends; windows it still owed are handed back unread, so the scan reads
    // them (and every later one) itself.
    std::lock_guard lock(mutex_);
    for (Slot& slot : slots_) {
      slot.done = true;
      if (slot.indexing) slot.whole = slot.indexing = false;  // its bytes were lent out
    }
    next_ = -1;
    stop_ = true;
    wake_.notify_all();
  }
}

void WindowPrefetcher::ReadAhead() {
  std::unique_lock lock(mutex_);
  while (true) {
    if (stop_) return;
    // A full read-ahead rests until half of it has been taken.
    if (slots_.size() >= kReadAheadWindows) reader_resting_ = true;
    if (reader_resting_ && slots_.size() <= kResumeAt) reader_resting_ = false;
    auto can_read = [&] {
      return next_ >= 0 && slots_.size() < kReadAheadWindows && (!reader_resting_ || slots_.size() <= kResumeAt);
    };
    if (!can_read()) {
      // Ahead of the scan: index what was read until there is room to read again.
      if (IndexOne(lock)) continue;
      wake_.wait(lock, [&] { return stop_ || can_read() || HasIndexWork(); });
      continue;
    }
    const std::int64_t start = next_;
    next_ = start + kWindowStep < size_ ? start + kWindowStep : -1;
    slots_.push_back(Slot{start, false, false, false, 0, 0, {}, {}});
    std::vector<std::uint8_t> buffer;
    if (!spare_.empty()) {
      buffer = std::move(spare_.back());
      spare_.pop_back();
    }
    lock.unlock();

    const bool whole = ReadWindow(start, buffer);

    lock.lock();
    auto it = std::find_if(slots_.begin(), slots_.end(), [&](const Slot& slot) { return slot.start == start && !slot.done; });
    if (it != slots_.end()) {
      it->bytes = std::move(buffer);
      it->whole = whole;
      it->done = true;
    }
    if (consumer_waiting_) wake_.notify_all();
  }
}

// Whatever goes wrong here (a failed read, a stream that raises, no memory for the buffer)
// only means that the scan reads this window itself.
bool WindowPrefetcher::ReadWindow(std::int64_t start, std::vector<std::uint8_t>& buffer) const {
  try {
    const std::int64_t length = WindowLength(start);
    buffer.resize(static_cast<std::size_t>(length));
    for (std::int64_t done = 0; done < length; done += kCopyPieceSize) {
      const std::int64_t piece = std::min(kCopyPieceSize, length - done);
      if (source_.ReadAt(start + done, buffer.data() + done, piece) != piece) return false;
    }
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace rsf
