// Bink synthesizer.
#include "synth/bink_synth.h"

namespace rsf::synth {

ByteVector BinkFile(const BinkFields& fields) {
  constexpr std::uint32_t kHeaderSize = 44;
  const auto frame_bytes = static_cast<std::uint32_t>((fields.frame_bytes + 1) / 2 * 2);
  const std::uint32_t first_frame = kHeaderSize + 4 * (fields.frames + 1);
  const std::uint32_t file_size = first_frame + frame_bytes * fields.frames;

  ByteWriter out;
  out.Text("BIK")
      .U8(static_cast<std::uint8_t>(fields.revision))
      .LE32(file_size - 8)
      .LE32(fields.frames)
      .LE32(frame_bytes)
      .LE32(fields.second_frame_count.value_or(fields.frames))
      .LE32(fields.width)
      .LE32(fields.height)
      .LE32(fields.fps_dividend)
      .LE32(fields.fps_divider)
      .LE32(0)   // video flags
      .LE32(0);  // audio tracks
  for (std::uint32_t frame = 0; frame <= fields.frames; ++frame)
    out.LE32((first_frame + frame * frame_bytes) | (frame == 0 ? 1u : 0u));
  for (std::uint32_t frame = 0; frame < fields.frames; ++frame)
    for (std::uint32_t i = 0; i < frame_bytes; ++i) out.U8(static_cast<std::uint8_t>((i * 37 + frame) % 251));
  return out.Take();
}

}  // namespace rsf::synth
