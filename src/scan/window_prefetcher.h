// Reads the windows a scan will want next on a thread of its own, so that reading the source
// and searching the window in memory overlap. Only for streams that can be read concurrently
// (files); a window whose read fails anywhere (also by an exception on the read-ahead thread)
// is not offered, and the scan reads it again itself, so error handling stays exactly that of
// the plain read.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

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

  // Hands over the window starting at `start` when it was (or is being) read whole, and aims
  // the read-ahead at the windows after it. False when the caller must read it itself. One
  // consumer only: the scan's own thread.
  bool Take(std::int64_t start, std::vector<std::uint8_t>& bytes);
  // Aims the read-ahead at the windows that follow one starting at `start`.
  void AimAfter(std::int64_t start);

 private:
  struct Slot {
    std::int64_t start = 0;
    bool done = false;
    bool whole = false;
    std::vector<std::uint8_t> bytes;
  };

  void Work();
  void ReadAhead();
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
  bool stop_ = false;
  bool taking_ = false;  // a Take is under way (there is only ever one)
  bool consumer_waiting_ = false;  // that Take waits for its window
  bool reader_resting_ = false;    // the reader waits for half of the read-ahead to be taken
  std::thread worker_;
};

}  // namespace rsf
