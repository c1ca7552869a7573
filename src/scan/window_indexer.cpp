// Background signature search of the windows ahead of a scan.
#include "scan/window_indexer.h"

#include <algorithm>

namespace rsf {

WindowIndexer::WindowIndexer(MatcherKind kind, const WindowPrefetcher::ThreadStarter& start)
    : kind_(kind), worker_(start([this] { Work(); })) {}

WindowIndexer::~WindowIndexer() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  worker_.join();
}

void WindowIndexer::UsePatterns(const std::vector<std::string>& patterns, std::size_t generation) {
  std::lock_guard lock(mutex_);
  patterns_ = patterns;
  generation_ = generation;
}

void WindowIndexer::Offer(std::int64_t start, Bytes bytes, std::shared_ptr<const void> keep) {
  std::lock_guard lock(mutex_);
  if (failed_ || slots_.size() >= kWindowsAhead + 1 || generation_ == 0) return;
  Slot slot;
  slot.start = start;
  slot.bytes = bytes;
  slot.keep = std::move(keep);
  slot.generation = generation_;
  if (!spare_.empty()) {
    slot.starts = std::move(spare_.back());
    spare_.pop_back();
  }
  slots_.push_back(std::move(slot));
  wake_.notify_all();
}

bool WindowIndexer::Offered(std::int64_t start) {
  std::lock_guard lock(mutex_);
  return std::any_of(slots_.begin(), slots_.end(), [&](const Slot& slot) { return slot.start == start; });
}

void WindowIndexer::ForgetBefore(std::int64_t start) {
  std::lock_guard lock(mutex_);
  // One being indexed stays until it is done: the thread still reads its bytes.
  for (Slot& slot : slots_)
    if (slot.start < start && !slot.working) spare_.push_back(std::move(slot.starts));
  std::erase_if(slots_, [&](const Slot& slot) { return slot.start < start && !slot.working; });
}

bool WindowIndexer::Take(std::int64_t start, Bytes bytes, std::size_t generation, Starts& starts) {
  std::unique_lock lock(mutex_);
  // The thread may move slots while we wait: look the slot up again after every wait.
  auto find = [&] {
    return std::find_if(slots_.begin(), slots_.end(), [&](const Slot& slot) { return slot.start == start; });
  };
  auto it = find();
  if (it == slots_.end() || it->generation != generation || it->bytes.data() != bytes.data() ||
      it->bytes.size() != bytes.size())
    return false;
  wake_.wait(lock, [&] { return find()->done; });
  it = find();
  const bool made = it->made;
  if (made) {
    spare_.push_back(std::move(starts));
    starts = std::move(it->starts);
  } else {
    spare_.push_back(std::move(it->starts));
  }
  slots_.erase(it);
  wake_.notify_all();
  return made;
}

void WindowIndexer::Work() {
  try {
    IndexAhead();
  } catch (...) {
    // No more indexing ahead (no memory, a matcher that could not be made): the windows still
    // owed are handed back without an index, and the scan makes every index itself.
    std::lock_guard lock(mutex_);
    for (Slot& slot : slots_) {
      slot.working = false;
      slot.done = true;
      slot.made = false;
    }
    failed_ = true;
    wake_.notify_all();
  }
}

void WindowIndexer::IndexAhead() {
  std::unique_ptr<LiteralMatcher> matcher;
  std::size_t matcher_generation = 0;
  std::unique_lock lock(mutex_);
  while (true) {
    auto next = [&] {
      return std::find_if(slots_.begin(), slots_.end(), [](const Slot& slot) { return !slot.done && !slot.working; });
    };
    wake_.wait(lock, [&] { return stop_ || next() != slots_.end(); });
    if (stop_) return;
    Slot& slot = *next();
    slot.working = true;
    const std::int64_t start = slot.start;
    const std::size_t generation = slot.generation;
    const Bytes bytes = slot.bytes;
    Starts starts = std::move(slot.starts);
    if (matcher_generation != generation_) {
      // This thread's own matcher (the scan's is another one), for the latest patterns.
      const std::vector<std::string> patterns = patterns_;
      const std::size_t latest = generation_;
      lock.unlock();
      matcher = MakeLiteralMatcher(patterns, kind_);
      lock.lock();
      matcher_generation = latest;
    }
    auto it = std::find_if(slots_.begin(), slots_.end(), [&](const Slot& s) { return s.start == start && s.working; });
    if (generation != matcher_generation) {  // offered before the patterns changed: of no use
      it->starts = std::move(starts);
      it->working = false;
      it->done = true;
      wake_.notify_all();
      continue;
    }
    lock.unlock();
    matcher->FindAll(bytes, starts);
    lock.lock();
    it = std::find_if(slots_.begin(), slots_.end(), [&](const Slot& s) { return s.start == start && s.working; });
    if (it != slots_.end()) {
      it->starts = std::move(starts);
      it->working = false;
      it->done = true;
      it->made = true;
    }
    wake_.notify_all();
  }
}

}  // namespace rsf
