// Deterministic filler for synthetic sources.
#include "synth/random_filler.h"

#include <algorithm>
#include <stdexcept>

namespace rsf::synth {

ByteVector RandomBytes(std::size_t count, std::uint64_t seed) {
  ByteVector out(count);
  std::uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
  std::size_t i = 0;
  while (i < count) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    for (int b = 0; b < 8 && i < count; ++b, ++i) out[i] = static_cast<std::uint8_t>(state >> (8 * b));
  }
  return out;
}

ByteVector EmbedClips(std::size_t size, const std::vector<PlacedClip>& clips, std::uint64_t seed) {
  ByteVector out = RandomBytes(size, seed);
  for (const PlacedClip& clip : clips) {
    if (clip.start < 0 || static_cast<std::size_t>(clip.start) + clip.bytes.size() > size)
      throw std::out_of_range("clip does not fit into the source");
    std::copy(clip.bytes.begin(), clip.bytes.end(), out.begin() + clip.start);
  }
  return out;
}

}  // namespace rsf::synth
