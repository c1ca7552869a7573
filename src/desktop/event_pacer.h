// Lets a costly thing happen at most once per interval: the scan asks the window to repaint
// and to let events run after every window, thousands of times a second on a fast disk, while
// the eye and the hand need about twenty. The clock can be set, so that tests count rounds in
// simulated time.
#pragma once

#include <functional>

namespace rsf::desktop {

class EventPacer {
 public:
  using Clock = std::function<double()>;  // seconds

  static double SteadySeconds();

  explicit EventPacer(double interval, Clock clock = SteadySeconds) : interval_(interval), clock_(std::move(clock)) {}

  // True when the interval has passed since the last time it said true (and the first time);
  // the interval then starts again.
  bool Due();
  void SetClock(Clock clock) { clock_ = std::move(clock); }

 private:
  double interval_;
  Clock clock_;
  bool started_ = false;
  double last_ = 0;
};

}  // namespace rsf::desktop
