// Elapsed and remaining times as the status bar shows them: hh:mm:ss, as a time of day.
#pragma once

#include <cstdint>
#include <string>

namespace rsf {

// Whole seconds as "hh:mm:ss"; hours wrap at 24 like a time of day, negative times show 00:00:00.
std::string TimeOfDayText(double seconds);
// The second of the day that TimeOfDayText shows for `seconds`.
std::int64_t TimeOfDaySecond(double seconds);

// Remaining time of a run: elapsed × (size ÷ position) − elapsed; 0 when nothing was read yet.
double RemainingSeconds(double elapsed, std::int64_t size, std::int64_t position);

}  // namespace rsf
