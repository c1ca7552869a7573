// Creative Voice, Ogg and FLIC synthesizers.
#include "synth/more_media_synth.h"

#include <algorithm>

#include "base/crc32.h"

namespace rsf::synth {
namespace {

ByteVector Pattern(std::size_t count, std::uint8_t seed) {
  ByteVector bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 31);
  return bytes;
}

void Block24(ByteWriter& out, std::uint8_t type, const ByteVector& body) {
  out.U8(type).U8(static_cast<std::uint8_t>(body.size())).U8(static_cast<std::uint8_t>(body.size() >> 8));
  out.U8(static_cast<std::uint8_t>(body.size() >> 16)).Append(body);
}

}  // namespace

ByteVector VocFile(std::uint32_t rate, std::uint8_t bits, std::uint8_t channels, std::uint32_t sample_bytes) {
  constexpr std::uint16_t kVersion = 0x010A;
  ByteWriter out;
  out.Text("Creative Voice File\x1A").LE16(26).LE16(kVersion).LE16(static_cast<std::uint16_t>(~kVersion + 0x1234));
  ByteWriter sound;
  if (bits == 8 && channels == 1) {
    sound.U8(static_cast<std::uint8_t>(256 - 1000000 / rate)).U8(0);
    sound.Append(Pattern(sample_bytes, 3));
    Block24(out, 1, sound.Take());
  } else {
    sound.LE32(rate).U8(bits).U8(channels).LE16(bits == 16 ? 4 : 0).LE32(0);
    sound.Append(Pattern(sample_bytes, 5));
    Block24(out, 9, sound.Take());
  }
  Block24(out, 4, ByteVector{1, 0});  // a marker
  out.U8(0);
  return out.Take();
}

ByteVector OggPage(std::uint32_t serial, std::uint32_t sequence, std::uint8_t flags, const ByteVector& data) {
  std::vector<std::uint8_t> lacing;
  std::size_t left = data.size();
  do {
    const std::size_t segment = std::min<std::size_t>(255, left);
    lacing.push_back(static_cast<std::uint8_t>(segment));
    left -= segment;
    if (segment < 255) break;
  } while (true);
  ByteWriter out;
  out.Text("OggS").U8(0).U8(flags).LE32(sequence * 1024u).LE32(0).LE32(serial).LE32(sequence).LE32(0);
  out.U8(static_cast<std::uint8_t>(lacing.size())).Append(lacing).Append(data);
  ByteVector page = out.Take();
  const std::uint32_t crc = rsf::OggCrc32(page);
  for (int k = 0; k < 4; ++k) page[22 + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(crc >> (8 * k));
  return page;
}

ByteVector OggVorbisFile(std::uint32_t rate, std::uint8_t channels, int pages, std::uint32_t serial) {
  ByteWriter identification;
  identification.U8(1).Text("vorbis").LE32(0).U8(channels).LE32(rate).LE32(0).LE32(128000).LE32(0).U8(0xB8).U8(1);
  ByteWriter out;
  out.Append(OggPage(serial, 0, 2, identification.Take()));
  for (int i = 1; i <= pages; ++i)
    out.Append(OggPage(serial, static_cast<std::uint32_t>(i), i == pages ? 4 : 0, Pattern(200u + 97u * static_cast<unsigned>(i), 7)));
  return out.Take();
}

ByteVector FlicFile(std::uint16_t width, std::uint16_t height, std::uint16_t frames, bool flc) {
  ByteWriter body;
  if (flc) body.LE32(16).LE16(0xF100).LE16(0).Fill(8, 0);  // prefix chunk without subchunks
  const std::size_t first_frame = 128 + body.size();
  for (int frame = 0; frame <= frames; ++frame) {  // the last is the ring frame
    const ByteVector data = Pattern(frame == 0 ? 64u : 24u, static_cast<std::uint8_t>(frame));
    // One subchunk of an unknown kind, which readers skip.
    body.LE32(static_cast<std::uint32_t>(16 + 6 + data.size())).LE16(0xF1FA).LE16(1).LE16(0).Fill(6, 0);
    body.LE32(static_cast<std::uint32_t>(6 + data.size())).LE16(0x00FE).Append(data);
  }
  ByteWriter out;
  out.LE32(static_cast<std::uint32_t>(128 + body.size())).LE16(flc ? 0xAF12 : 0xAF11).LE16(frames);
  out.LE16(width).LE16(height).LE16(8).LE16(flc ? 3 : 0);
  if (flc) {
    out.LE32(66).LE16(0).Fill(58, 0).LE32(static_cast<std::uint32_t>(first_frame)).LE32(0).Fill(40, 0);
  } else {
    out.LE16(5).Fill(110, 0);
  }
  out.Append(body.bytes());
  return out.Take();
}

}  // namespace rsf::synth
