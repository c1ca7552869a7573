// What the first bytes of an MPEG audio layer III frame tell about where its encoding began: the
// side information's `main_data_begin` (how many bytes of this frame's main data lie in earlier
// frames, the bit reservoir) and the lengths of its coded granules, and whether the frame is an
// encoder's header frame (Xing, Info or VBRI) rather than sound.
#pragma once

#include <cstdint>
#include <optional>

#include "base/bytes.h"

namespace rsf {

// Enough bytes from the start of any layer III frame for everything below: the header, a
// checksum, the longest side information (32 bytes) and a header frame's identifier behind it.
inline constexpr std::int64_t kLayer3FactBytes = 42;

struct Layer3Frame {
  // Bytes of this frame's main data taken from the frames before it.
  std::int32_t main_data_begin = 0;
  // Room for main data in this frame: the frame less its header, checksum and side information.
  std::int32_t main_data_room = 0;
  // Bytes of main data the granules code (their part2_3_length bits, rounded up).
  std::int32_t main_data_used = 0;
  // A Xing, Info or VBRI frame: what encoders write as the first frame of a file.
  bool header_frame = false;
};

// The facts of the layer III frame whose header is `header` and whose first bytes are `bytes`
// (the header included; the frame's length is `frame_length`); nullopt for another layer, or
// when `bytes` hold less than its side information.
std::optional<Layer3Frame> ReadLayer3Frame(std::uint32_t header, std::int32_t frame_length, Bytes bytes);

}  // namespace rsf
