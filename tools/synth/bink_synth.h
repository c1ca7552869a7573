// Bink video files built in memory: the header with its doubled frame count and file size, the
// frame index and frame payloads (patterns, not coded video).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "synth/byte_writer.h"

namespace rsf::synth {

struct BinkFields {
  char revision = 'i';
  std::uint32_t frames = 10;
  std::uint32_t width = 64;
  std::uint32_t height = 48;
  std::uint32_t fps_dividend = 10;
  std::uint32_t fps_divider = 1;
  std::size_t frame_bytes = 32;  // rounded up to an even count: index entries use bit 0 as key flag
  // Stored at byte 16 instead of the frame count when set: a header whose two copies differ.
  std::optional<std::uint32_t> second_frame_count{};
};

// "BIK" + revision, file size less 8, frame count, largest frame size, frame count again, width,
// height, frame rate as dividend and divider, video flags, no audio tracks (44 bytes); then
// frame count + 1 index entries (the first with the key-frame bit) and the frames.
ByteVector BinkFile(const BinkFields& fields);

}  // namespace rsf::synth
