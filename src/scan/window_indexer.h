// Finds the signatures in the windows a scan will look at next, on a thread of its own, so that
// the one-pass search of one window and the detectors of the one before run at the same time.
// For windows that are views of the source in place (nothing to read, only to search). The
// scan offers the windows ahead of it and takes each index when it needs it; an index that is
// not ready is waited for, one that was never made (the window was not offered, the patterns
// changed since, the thread failed) is made by the scan itself, so results never depend on it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/bytes.h"
#include "scan/literal_matcher.h"
#include "scan/window_prefetcher.h"

namespace rsf {

class WindowIndexer {
 public:
  using Starts = std::vector<std::vector<std::uint32_t>>;

  // Raises what the thread's start raises; the scan then indexes every window itself.
  WindowIndexer(MatcherKind kind, const WindowPrefetcher::ThreadStarter& start = WindowPrefetcher::StartThread);
  ~WindowIndexer();
  WindowIndexer(const WindowIndexer&) = delete;
  WindowIndexer& operator=(const WindowIndexer&) = delete;

  // The signatures windows offered from now on are searched for, known by `generation`.
  void UsePatterns(const std::vector<std::string>& patterns, std::size_t generation);
  // Offers the window at `start`: `bytes`, which stay valid while `keep` is held.
  void Offer(std::int64_t start, Bytes bytes, std::shared_ptr<const void> keep);
  bool Offered(std::int64_t start);
  // Forgets the windows offered before `start`: the scan has passed them.
  void ForgetBefore(std::int64_t start);
  // The index of exactly these `bytes` at `start` with the patterns of `generation`, waiting
  // while it is being made; false when the scan must make it itself.
  bool Take(std::int64_t start, Bytes bytes, std::size_t generation, Starts& starts);

  // How many windows may wait ahead: enough to keep the thread busy, few enough to stay small.
  static constexpr std::size_t kWindowsAhead = 4;

 private:
  struct Slot {
    std::int64_t start = 0;
    Bytes bytes;
    std::shared_ptr<const void> keep;
    std::size_t generation = 0;
    bool working = false;
    bool done = false;
    bool made = false;  // done, and the index is in `starts`
    Starts starts;
  };

  void Work();
  void IndexAhead();

  const MatcherKind kind_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Slot> slots_;
  std::vector<std::string> patterns_;
  std::size_t generation_ = 0;
  std::vector<Starts> spare_;
  bool stop_ = false;
  bool failed_ = false;
  std::thread worker_;
};

}  // namespace rsf
