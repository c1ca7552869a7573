// Smacker video files built in memory: the 104-byte header, the frame-size and frame-type
// tables, the Huffman-tree block and frame payloads (patterns, not coded video).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

struct SmackerFields {
  char version = '2';  // "SMK2" or "SMK4"
  std::uint32_t width = 64;
  std::uint32_t height = 48;
  // Negative: hundred-thousandths of a second per frame (-6667 gives 15 frames a second);
  // positive: milliseconds per frame.
  std::int32_t frame_rate = -6667;
  // Frame sizes as stored: the low two bits are flags (bit 0 marks a key frame) and carry no
  // size; each frame holds its size with those bits cleared. Their count is the frame count.
  std::vector<std::uint32_t> frame_sizes = {1001, 1200};
  // Overrides the frame count stored at byte 12 when set (the table keeps its entries).
  std::optional<std::int32_t> stored_frame_count{};
  std::uint32_t trees_size = 16;  // all-zero trees: every tree is marked absent
};

// Header, frame sizes, one type byte per frame (0: no palette, no audio), the trees and the
// frames: 104 + 5 x frames + trees size + the masked frame sizes bytes in all.
ByteVector SmackerFile(const SmackerFields& fields);

}  // namespace rsf::synth
