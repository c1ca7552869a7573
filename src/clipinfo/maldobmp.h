// Bitmap header plausibility test and information text (unit maldobmp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/bytes.h"

namespace rsf {

// Bytes handed over from the candidate's "B": the file header and the start of the info header.
inline constexpr std::size_t kBmpInfoBytes = 35;

// True when the 35-byte block looks like a real bitmap header. A shorter block is never one.
bool IsBMPHeader(Bytes block);

// Two lines: size and bits per pixel.
std::string GetBMPInfo(Bytes block);
// The same two lines for a picture of `width` x `height` (a top-down bitmap's height taken
// without its sign) and `bits_per_pixel`.
std::string BMPInfoText(std::uint32_t width, std::uint32_t height, std::uint16_t bits_per_pixel);

}  // namespace rsf
