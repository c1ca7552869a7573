// Container synthesizers. Filler bytes are drawn from a range (0x20..0x7E) that can never
// form a start code, marker or chunk signature, so every clip ends where its format says.
#include "synth/container_synth.h"

#include <string_view>

#include "scan/catalogue/clip_types.h"

namespace rsf::synth {
namespace {

void Filler(ByteWriter& out, std::size_t count, unsigned& state) {
  for (std::size_t i = 0; i < count; ++i) {
    state = state * 1103515245u + 12345u;
    auto byte = static_cast<std::uint8_t>(0x20 + (state >> 16) % 0x5F);
    // Keep the letters of chunk names out: "INDX", "PROP" and friends cannot arise.
    if (byte >= 'A' && byte <= 'Z') byte = static_cast<std::uint8_t>(byte + 0x20);
    out.U8(byte);
  }
}

void MpegPackHeader(ByteWriter& out, std::uint64_t scr) {
  // '0010' SCR[32..30] marker, SCR[29..15] marker, SCR[14..0] marker, then the mux rate.
  out.BE32(0x000001BA);
  out.U8(static_cast<std::uint8_t>(0x21 | ((scr >> 29) & 0x0E)));
  out.BE16(static_cast<std::uint16_t>(((scr >> 14) & 0xFFFE) | 1));
  out.BE16(static_cast<std::uint16_t>(((scr << 1) & 0xFFFE) | 1));
  const std::uint32_t mux_rate = 2800;  // in 50 bytes/s
  out.U8(static_cast<std::uint8_t>(0x80 | (mux_rate >> 15)));
  out.BE16(static_cast<std::uint16_t>(((mux_rate << 1) & 0xFFFE) | 1));
}

void MpegSystemHeader(ByteWriter& out) {
  out.BE32(0x000001BB).BE16(9);
  out.U8(0x80).BE16(0x1B83 | 1);   // rate bound with markers
  out.U8(0x04);                    // audio bound 1, fixed 0, CSPS 0
  out.U8(0xE1);                    // system audio/video lock, marker, video bound 1
  out.U8(0xFF);                    // reserved
  out.U8(0xE0).BE16(0xE0 << 8 | 0x2E);  // stream E0: buffer scale 1, size
}

}  // namespace

ByteVector MpegProgramStream(int packets, unsigned seed) {
  ByteWriter out;
  unsigned state = seed;
  for (int i = 0; i < packets; ++i) {
    MpegPackHeader(out, 3600u * static_cast<unsigned>(i));
    if (i == 0) MpegSystemHeader(out);
    ByteWriter payload;
    if (i == 0) {
      // Sequence header: 352×240, aspect 1, 29.97 fps, bit rate, marker, VBV, no matrices.
      payload.BE32(0x000001B3).U8(0x16).U8(0x00).U8(0xF0).U8(0x14);
      payload.U8(0x03).U8(0x3F).U8(0xFF).U8(0xE0).U8(0x18);
      payload.U8(0x00).U8(0x00);
      payload.BE32(0x000001B8).U8(0x00).U8(0x08).U8(0x00).U8(0x40);  // GOP, closed
    }
    payload.BE32(0x00000100).U8(0x00).U8(static_cast<std::uint8_t>(0x0F + i % 3)).U8(0xFF).U8(0xF8);
    Filler(payload, 200 + (state % 300), state);
    // PES packet: stream E0, length, stuffing-free MPEG-1 header byte 0x0F (no timestamps).
    out.BE32(0x000001E0).BE16(static_cast<std::uint16_t>(payload.size() + 1)).U8(0x0F).Append(payload.bytes());
  }
  out.BE32(0x000001B9);
  return out.Take();
}

ByteVector InterplayMve(int chunks, unsigned seed) {
  ByteWriter out;
  unsigned state = seed;
  out.Text(kMveHeader).LE16(0x0100).LE16(0x1133);
  for (int i = 0; i < chunks; ++i) {
    // A chunk: length and type, then opcodes of length, type and version.
    ByteWriter body;
    const std::uint16_t opcode_length = static_cast<std::uint16_t>(64 + state % 200);
    body.LE16(opcode_length).U8(0x11).U8(0x00);
    Filler(body, opcode_length, state);
    body.LE16(0).U8(0x01).U8(0x00);  // end of chunk
    out.LE16(static_cast<std::uint16_t>(body.size())).LE16(static_cast<std::uint16_t>(i == 0 ? 0 : 3));
    out.Append(body.bytes());
  }
  out.Text(kMveFooter);
  return out.Take();
}

ByteVector RealMediaFile(int packets, unsigned seed) {
  ByteWriter out;
  unsigned state = seed;
  out.Text(".RMF").BE32(18).BE16(0).BE32(0).BE32(4);
  const std::size_t prop_at = out.size();
  out.Text("PROP").BE32(50).BE16(0);
  out.BE32(64000).BE32(48000).BE32(640).BE32(480).BE32(static_cast<std::uint32_t>(packets));
  out.BE32(10000).BE32(0);
  const std::size_t index_offset_at = out.size();
  out.BE32(0);
  const std::size_t data_offset_at = out.size();
  out.BE32(0).BE16(1).BE16(0x0009);
  (void)prop_at;

  ByteWriter mdpr;
  mdpr.BE16(0).BE16(0).BE32(64000).BE32(48000).BE32(640).BE32(480).BE32(0).BE32(0).BE32(10000);
  mdpr.U8(5).Text("audio").U8(13).Text("audio/x-pn-ra").BE32(0);
  out.Text("MDPR").BE32(static_cast<std::uint32_t>(mdpr.size() + 8)).Append(mdpr.bytes());

  ByteWriter cont;
  cont.BE16(0).BE16(4).Text("demo").BE16(3).Text("rsf").BE16(0).BE16(0);
  out.Text("CONT").BE32(static_cast<std::uint32_t>(cont.size() + 8)).Append(cont.bytes());

  out.PatchBE32(data_offset_at, static_cast<std::uint32_t>(out.size()));
  ByteWriter data;
  data.BE16(0).BE32(static_cast<std::uint32_t>(packets)).BE32(0);
  for (int i = 0; i < packets; ++i) {
    const std::uint16_t length = static_cast<std::uint16_t>(12 + 100 + state % 100);
    data.BE16(0).BE16(length).BE16(0).BE32(static_cast<std::uint32_t>(i * 100)).U8(0).U8(i == 0 ? 2 : 0);
    Filler(data, length - 12u, state);
  }
  out.Text("DATA").BE32(static_cast<std::uint32_t>(data.size() + 8)).Append(data.bytes());

  out.PatchBE32(index_offset_at, static_cast<std::uint32_t>(out.size()));
  out.Text("INDX").BE32(static_cast<std::uint32_t>(20 + 14 * packets)).BE16(0);
  out.BE32(static_cast<std::uint32_t>(packets)).BE16(0).BE32(0);
  for (int i = 0; i < packets; ++i) out.BE16(0).BE32(static_cast<std::uint32_t>(i * 100)).BE32(0).BE32(static_cast<std::uint32_t>(i));
  return out.Take();
}

}  // namespace rsf::synth
