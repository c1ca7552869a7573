// Time texts of the status bar.
#include "scan/engine/time_text.h"

#include <fmt/format.h>

#include <cmath>

namespace rsf {

std::int64_t TimeOfDaySecond(double seconds) {
  if (!(seconds > 0)) seconds = 0;  // also NaN
  return static_cast<std::int64_t>(std::floor(std::fmod(seconds, 86400.0)));
}

std::string TimeOfDayText(double seconds) {
  const std::int64_t whole = TimeOfDaySecond(seconds);
  return fmt::format("{:02}:{:02}:{:02}", whole / 3600, whole / 60 % 60, whole % 60);
}

double RemainingSeconds(double elapsed, std::int64_t size, std::int64_t position) {
  if (position <= 0) return 0;
  return elapsed * (static_cast<double>(size) / static_cast<double>(position)) - elapsed;
}

}  // namespace rsf
