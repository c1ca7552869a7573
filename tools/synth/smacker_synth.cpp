// Smacker synthesizer.
#include "synth/smacker_synth.h"

namespace rsf::synth {

ByteVector SmackerFile(const SmackerFields& fields) {
  const auto frames = static_cast<std::uint32_t>(fields.frame_sizes.size());
  ByteWriter out;
  out.Text("SMK")
      .U8(static_cast<std::uint8_t>(fields.version))
      .LE32(fields.width)
      .LE32(fields.height)
      .LE32(static_cast<std::uint32_t>(fields.stored_frame_count.value_or(static_cast<std::int32_t>(frames))))
      .LE32(static_cast<std::uint32_t>(fields.frame_rate))
      .LE32(0)        // flags: no ring frame, not interlaced or doubled
      .Fill(28, 0)    // largest audio frame size of each of 7 tracks
      .LE32(fields.trees_size)
      .LE32(fields.trees_size / 4)  // the four trees' unpacked sizes
      .LE32(fields.trees_size / 4)
      .LE32(fields.trees_size / 4)
      .LE32(fields.trees_size / 4)
      .Fill(28, 0)  // audio rate and flags of each of 7 tracks
      .LE32(0);     // reserved
  for (const std::uint32_t size : fields.frame_sizes) out.LE32(size);
  out.Fill(frames, 0);
  out.Fill(fields.trees_size, 0);
  for (std::uint32_t frame = 0; frame < frames; ++frame) {
    const std::uint32_t size = fields.frame_sizes[frame] & ~std::uint32_t{3};
    for (std::uint32_t i = 0; i < size; ++i) out.U8(static_cast<std::uint8_t>((i * 37 + frame) % 251));
  }
  return out.Take();
}

}  // namespace rsf::synth
