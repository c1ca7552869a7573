// The pacer's clock and its one decision.
#include "desktop/event_pacer.h"

#include <chrono>

namespace rsf::desktop {

double EventPacer::SteadySeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool EventPacer::Due() {
  const double now = clock_();
  if (started_ && now - last_ < interval_) return false;
  started_ = true;
  last_ = now;
  return true;
}

}  // namespace rsf::desktop
