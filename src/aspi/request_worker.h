// A thread that carries out a provider's execute-SCSI requests, each no earlier than its due
// time, so that SendASPI32Command can answer "pending" at once like a real ASPI manager.
// Requests whose time has not come when the library is unloaded are dropped unanswered.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace rsf::aspi {

class RequestWorker {
 public:
  using Clock = std::chrono::steady_clock;
  using Job = std::function<void()>;

  RequestWorker() = default;
  ~RequestWorker();
  RequestWorker(const RequestWorker&) = delete;
  RequestWorker& operator=(const RequestWorker&) = delete;

  // Runs `job` on the worker thread at `due` or later; jobs run in the order of their times.
  void Submit(Clock::time_point due, Job job);

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::multimap<Clock::time_point, Job> jobs_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace rsf::aspi
