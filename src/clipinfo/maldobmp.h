// Bitmap header plausibility test and information text (unit maldobmp).
#pragma once

#include <cstddef>
#include <string>

#include "base/bytes.h"

namespace rsf {

// Bytes handed over from the candidate's "B": the file header and the start of the info header.
inline constexpr std::size_t kBmpInfoBytes = 35;

// True when the 35-byte block looks like a real bitmap header. A shorter block is never one.
bool IsBMPHeader(Bytes block);

// Two lines: size and bits per pixel.
std::string GetBMPInfo(Bytes block);

}  // namespace rsf
