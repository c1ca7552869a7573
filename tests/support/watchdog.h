// Ends the test program when a test does not come back in time: a test of something that can
// hang (a deadlock on the window's thread, a wait on a pipe) fails with a message instead of
// holding the whole run until its time limit.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace rsf::test {

class Watchdog {
 public:
  Watchdog(std::chrono::seconds limit, std::string what)
      : thread_([this, limit, what = std::move(what)] {
          std::unique_lock lock(mutex_);
          if (done_cv_.wait_for(lock, limit, [this] { return done_; })) return;
          std::fprintf(stderr, "Watchdog: no answer after %lld s: %s\n", static_cast<long long>(limit.count()), what.c_str());
          std::fflush(stderr);
          std::_Exit(124);
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    done_cv_.notify_all();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace rsf::test
