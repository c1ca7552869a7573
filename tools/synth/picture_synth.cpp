// Picture synthesizers.
#include "synth/picture_synth.h"

#include <algorithm>
#include <string>

#include "base/crc32.h"

namespace rsf::synth {
namespace {

// LZW codes of 9 bits for 8-bit pixels: every pixel a literal, a clear code before the table
// would grow past 9-bit codes.
ByteVector LzwLiterals(const ByteVector& pixels) {
  constexpr unsigned kClear = 256, kEnd = 257;
  ByteVector out;
  std::uint32_t buffer = 0;
  int bits = 0;
  auto emit = [&](unsigned code) {
    buffer |= code << bits;
    bits += 9;
    while (bits >= 8) {
      out.push_back(static_cast<std::uint8_t>(buffer));
      buffer >>= 8;
      bits -= 8;
    }
  };
  emit(kClear);
  int since_clear = 0;
  for (const std::uint8_t pixel : pixels) {
    if (since_clear == 254) {
      emit(kClear);
      since_clear = 0;
    }
    emit(pixel);
    ++since_clear;
  }
  emit(kEnd);
  if (bits > 0) out.push_back(static_cast<std::uint8_t>(buffer));
  return out;
}

void SubBlocks(ByteWriter& out, const ByteVector& data) {
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t count = std::min<std::size_t>(255, data.size() - at);
    out.U8(static_cast<std::uint8_t>(count));
    out.Append(ByteVector(data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + count)));
  }
  out.U8(0);
}

ByteVector PngChunk(const std::string& type, const ByteVector& data) {
  ByteWriter body;
  body.Text(type).Append(data);
  ByteWriter out;
  out.BE32(static_cast<std::uint32_t>(data.size())).Append(body.bytes()).BE32(rsf::Crc32(body.bytes()));
  return out.Take();
}

std::uint32_t Adler32(const ByteVector& bytes) {
  std::uint32_t a = 1, b = 0;
  for (const std::uint8_t byte : bytes) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

}  // namespace

ByteVector GifFile(std::uint16_t width, std::uint16_t height, int frames) {
  ByteWriter out;
  out.Text("GIF89a").LE16(width).LE16(height).U8(0xF7).U8(0).U8(0);  // 256-colour global table
  for (int i = 0; i < 256; ++i) out.U8(static_cast<std::uint8_t>(i)).U8(static_cast<std::uint8_t>(255 - i)).U8(128);
  out.U8(0x21).U8(0xFE);
  SubBlocks(out, ByteVector{'r', 's', 'f'});
  if (frames > 1) {  // NETSCAPE2.0 looping
    out.U8(0x21).U8(0xFF).U8(11).Text("NETSCAPE2.0").U8(3).U8(1).LE16(0).U8(0);
  }
  for (int frame = 0; frame < frames; ++frame) {
    out.U8(0x21).U8(0xF9).U8(4).U8(0).LE16(10).U8(0).U8(0);  // graphic control: 0.1 s
    out.U8(0x2C).LE16(0).LE16(0).LE16(width).LE16(height).U8(0).U8(8);
    ByteVector pixels(std::size_t{width} * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i % width + frame * 40);
    SubBlocks(out, LzwLiterals(pixels));
  }
  out.U8(0x3B);
  return out.Take();
}

ByteVector PngFile(std::uint32_t width, std::uint32_t height) {
  ByteWriter header;
  header.BE32(width).BE32(height).U8(8).U8(2).U8(0).U8(0).U8(0);
  ByteVector raw;
  for (std::uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (std::uint32_t x = 0; x < width; ++x) {
      raw.push_back(static_cast<std::uint8_t>(x * 255 / std::max<std::uint32_t>(1, width)));
      raw.push_back(static_cast<std::uint8_t>(y * 255 / std::max<std::uint32_t>(1, height)));
      raw.push_back(96);
    }
  }
  ByteWriter zlib;
  zlib.U8(0x78).U8(0x01);
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t count = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + count >= raw.size();
    zlib.U8(last ? 1 : 0).LE16(static_cast<std::uint16_t>(count)).LE16(static_cast<std::uint16_t>(~count));
    zlib.Append(ByteVector(raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + count)));
    if (last) break;
  }
  zlib.BE32(Adler32(raw));
  ByteWriter out;
  out.Text("\x89PNG\r\n\x1A\n");
  out.Append(PngChunk("IHDR", header.Take()));
  out.Append(PngChunk("tEXt", ByteVector{'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'r', 's', 'f'}));
  out.Append(PngChunk("IDAT", zlib.Take()));
  out.Append(PngChunk("IEND", {}));
  return out.Take();
}

}  // namespace rsf::synth
