// Deterministic pseudo-random filler bytes and the embedding of clips into them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

// `count` pseudo-random bytes from `seed` (xorshift; the same seed gives the same bytes).
ByteVector RandomBytes(std::size_t count, std::uint64_t seed);

// One clip placed into a container, with the boundaries a scan must report for it.
struct PlacedClip {
  std::string extension;
  std::int64_t start = 0;
  std::int64_t end = 0;  // one past the last byte
  ByteVector bytes;
};

// Builds a source: random filler of `size` bytes with every clip copied in at its `start`.
// Clips must not overlap and must fit.
ByteVector EmbedClips(std::size_t size, const std::vector<PlacedClip>& clips, std::uint64_t seed);

}  // namespace rsf::synth
