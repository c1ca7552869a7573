// Bitmap synthesizer.
#include "synth/bitmap_synth.h"

#include <cstdlib>
#include <stdexcept>

namespace rsf::synth {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

}  // namespace

ByteVector BitmapFile(std::int32_t width, std::int32_t height, std::uint16_t bits_per_pixel, std::uint64_t seed) {
  if (width <= 0 || height == 0 || bits_per_pixel == 0) throw std::invalid_argument("empty bitmap");
  const std::uint64_t rows = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(height)));
  const std::uint64_t row_bytes = (static_cast<std::uint64_t>(width) * bits_per_pixel + 31) / 32 * 4;
  const std::uint32_t palette_entries = bits_per_pixel <= 8 ? 1u << bits_per_pixel : 0;
  const auto pixel_bytes = static_cast<std::uint32_t>(row_bytes * rows);
  const std::uint32_t pixel_offset = kFileHeaderSize + kInfoHeaderSize + 4 * palette_entries;

  ByteWriter out;
  out.Text("BM").LE32(pixel_offset + pixel_bytes).LE16(0).LE16(0).LE32(pixel_offset);
  out.LE32(kInfoHeaderSize)
      .LE32(static_cast<std::uint32_t>(width))
      .LE32(static_cast<std::uint32_t>(height))
      .LE16(1)  // planes
      .LE16(bits_per_pixel)
      .LE32(0)  // uncompressed
      .LE32(pixel_bytes)
      .LE32(2835)  // 72 dots per inch, in dots per metre
      .LE32(2835)
      .LE32(palette_entries)
      .LE32(0);
  // A grey ramp: blue, green, red, reserved.
  for (std::uint32_t i = 0; i < palette_entries; ++i) {
    const auto level = static_cast<std::uint8_t>(i * 255 / (palette_entries - 1 ? palette_entries - 1 : 1));
    out.U8(level).U8(level).U8(level).U8(0);
  }
  // Diagonal stripes.
  for (std::uint64_t row = 0; row < rows; ++row)
    for (std::uint64_t i = 0; i < row_bytes; ++i) out.U8(static_cast<std::uint8_t>((row * 11 + i * 37 + seed) % 251));
  return out.Take();
}

}  // namespace rsf::synth
