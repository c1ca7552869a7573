// Windows bitmaps built in memory: file header, information header, a palette for 8 bits per
// pixel or fewer, and pixel rows padded to whole 32-bit words.
#pragma once

#include <cstdint>

#include "synth/byte_writer.h"

namespace rsf::synth {

// A bitmap of `width` x `height` pixels (a negative height stores the rows top-down) with
// `bits_per_pixel` of 1, 4, 8, 16, 24 or 32; other bit counts (2, 48, ...) are written as
// stated, for readers that only look at the header. The pixels form a pattern from `seed`.
ByteVector BitmapFile(std::int32_t width, std::int32_t height, std::uint16_t bits_per_pixel, std::uint64_t seed = 1);

}  // namespace rsf::synth
