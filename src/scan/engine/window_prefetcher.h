// Reads the windows a scan will want next on a thread of its own, so that reading the source
// and searching the window in memory overlap. Only for streams that can be read concurrently
// (files); a window whose read fails anywhere (also by an exception on the read-ahead thread)
// is not offered, and the scan reads it again itself, so error handling stays exactly that of
// the plain read. While the read-ahead is full (the scan is the slower side) the thread also
// builds the signature index of windows it has read, with a matcher of its own, so that the
// two threads share the work whichever side it falls on.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "scan/index/literal_matcher.h"
#include "stream/source_stream.h"

namespace rsf {

class WindowPrefetcher {
 public:
  // Starts the thread that runs the read-ahead; tests stand in for it to make the start fail.
  using ThreadStarter = std::function<std::thread(std::function<void()>)>;
  static std::thread StartThread(std::function<void()> work) { return std::thread(std::move(work)); }

  // Raises what the thread's start raises (std::system_error when the system has no thread
  // to give); the scan then reads every window itself.
  WindowPrefetcher(const SourceStream& source, std::int64_t size, const ThreadStarter& start = StartThread);
  ~WindowPrefetcher();
  WindowPrefetcher(const WindowPrefetcher&) = delete;
  WindowPrefetcher& operator=(const WindowPrefetcher&) = delete;

  // Occurrences by pattern, as LiteralMatcher::FindAll gives them.
  using Index = std::vector<std::vector<std::uint32_t>>;

  // Hands over the window starting at `start` when it was (or is being) read whole. False when
  // the caller must read it itself. When the window was indexed too, `index` receives the index
  // and `generation` the generation of the matcher that built it; otherwise `generation` is 0.
  // One consumer only: the scan's own thread.
  bool Take(std::int64_t start, std::vector<std::uint8_t>& bytes, Index& index, std::size_t& generation);
  // The matcher the read-ahead indexes windows with from now on (null: none), with the
  // generation its indexes carry; windows indexed with an older one are offered unindexed.
  void SetIndexer(std::unique_ptr<LiteralMatcher> matcher, std::size_t generation);
  // Aims the read-ahead at the windows that follow one starting at `start`.
  void AimAfter(std::int64_t start);

 private:
  struct Slot {
    std::int64_t start = 0;
    bool done = false;
    bool whole = false;
    bool indexing = false;       // the thread is indexing it (its bytes are lent out)
    std::size_t generation = 0;  // of the index below; 0 none
    std::size_t tried = 0;       // generation of the matcher that last tried to index it
    std::vector<std::uint8_t> bytes;
    Index index;
  };

  void Work();
  void ReadAhead();
  // Indexes the last window read whole that has no current index yet; false when there is
  // none. Called and returns with the lock held.
  bool IndexOne(std::unique_lock<std::mutex>& lock);
  bool HasIndexWork() const;
  // Reads the window at `start` into `buffer`; false when any part of it could not be read.
  bool ReadWindow(std::int64_t start, std::vector<std::uint8_t>& buffer) const;
  std::int64_t WindowLength(std::int64_t start) const;

  const SourceStream& source_;
  const std::int64_t size_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Slot> slots_;      // windows in read-ahead order
  std::int64_t next_ = -1;      // start of the next window to read; -1 idle
  std::vector<std::vector<std::uint8_t>> spare_;
  std::vector<Index> spare_indexes_;
  std::shared_ptr<const LiteralMatcher> indexer_;
  std::size_t indexer_generation_ = 0;
  bool stop_ = false;
  bool taking_ = false;  // a Take is under way (there is only ever one)
  bool consumer_waiting_ = false;  // that Take waits for its window
  bool reader_resting_ = false;    // the reader waits for half of the read-ahead to be taken
  std::thread worker_;
};

}  // namespace rsf
