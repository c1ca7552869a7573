// The provider's request thread: sleeps until the earliest job is due, runs it, repeats.
#include "aspi/request_worker.h"

#include <utility>

namespace rsf::aspi {

RequestWorker::~RequestWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void RequestWorker::Submit(Clock::time_point due, Job job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.emplace(due, std::move(job));
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_all();
}

void RequestWorker::Run() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (jobs_.empty()) {
      wake_.wait(lock);
      continue;
    }
    const auto first = jobs_.begin();
    if (Clock::now() < first->first) {
      const Clock::time_point due = first->first;
      wake_.wait_until(lock, due);
      continue;
    }
    Job job = std::move(first->second);
    jobs_.erase(first);
    lock.unlock();
    job();
    lock.lock();
  }
}

}  // namespace rsf::aspi
