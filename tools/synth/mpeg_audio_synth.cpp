// MPEG audio frames and ID3 version 1 tags built from readable fields. The tables are written
// out here again rather than taken from the decoder, so that tests compare two independent
// readings of the standards.
#include "synth/mpeg_audio_synth.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace rsf::synth {
namespace {

using BitrateTable = std::array<int, 15>;  // indices 0..14; 15 is forbidden

constexpr BitrateTable kMpeg1Layer1 = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr BitrateTable kMpeg1Layer2 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr BitrateTable kMpeg1Layer3 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr BitrateTable kLsfLayer1 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr BitrateTable kLsfLayer23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

bool IsMpeg1(const MpegHeaderFields& fields) { return fields.version == MpegVersion::kMpeg1; }

const BitrateTable& BitratesOf(const MpegHeaderFields& fields) {
  switch (fields.layer) {
    case 1:
      return IsMpeg1(fields) ? kMpeg1Layer1 : kLsfLayer1;
    case 2:
      return IsMpeg1(fields) ? kMpeg1Layer2 : kLsfLayer23;
    case 3:
      return IsMpeg1(fields) ? kMpeg1Layer3 : kLsfLayer23;
    default:
      throw std::invalid_argument("MPEG audio layer must be 1, 2 or 3");
  }
}

std::array<int, 3> SampleRatesOf(MpegVersion version) {
  switch (version) {
    case MpegVersion::kMpeg1:
      return {44100, 48000, 32000};
    case MpegVersion::kMpeg2:
      return {22050, 24000, 16000};
    case MpegVersion::kMpeg25:
      return {11025, 12000, 8000};
    default:
      throw std::invalid_argument("no sample rates for the reserved MPEG version");
  }
}

template <typename Table>
unsigned IndexIn(const Table& table, int value, const char* what) {
  const auto it = std::find(table.begin(), table.end(), value);
  if (it == table.end()) throw std::invalid_argument(what);
  return static_cast<unsigned>(it - table.begin());
}

void PutField(ByteWriter& out, std::string_view text, std::size_t width) {
  const std::size_t used = std::min(text.size(), width);
  out.Text(text.substr(0, used)).Fill(width - used, 0);
}

}  // namespace

std::uint32_t MpegHeaderWord(const MpegHeaderFields& fields) {
  const unsigned bitrate_index = IndexIn(BitratesOf(fields), fields.bitrate_kbps, "bitrate not in the table");
  const unsigned rate_index =
      IndexIn(SampleRatesOf(fields.version), fields.sample_rate, "sample rate not in the table");
  // Layer code 11 is Layer I, 10 Layer II, 01 Layer III.
  const unsigned layer_code = static_cast<unsigned>(4 - fields.layer);
  std::uint32_t word = 0xFFE00000u;
  word |= static_cast<std::uint32_t>(fields.version) << 19;
  word |= layer_code << 17;
  word |= (fields.protection ? 1u : 0u) << 16;
  word |= bitrate_index << 12;
  word |= rate_index << 10;
  word |= (fields.padding ? 1u : 0u) << 9;
  word |= (static_cast<unsigned>(fields.channel_mode) & 3u) << 6;
  word |= (static_cast<unsigned>(fields.mode_extension) & 3u) << 4;
  word |= (fields.copyright ? 1u : 0u) << 3;
  word |= (fields.original ? 1u : 0u) << 2;
  word |= static_cast<unsigned>(fields.emphasis) & 3u;
  return word;
}

ByteVector MpegHeaderBytes(const MpegHeaderFields& fields) {
  return ByteWriter().BE32(MpegHeaderWord(fields)).Take();
}

std::size_t MpegFrameLength(const MpegHeaderFields& fields) {
  if (fields.bitrate_kbps <= 0) throw std::invalid_argument("free-format frames have no computable length");
  const std::size_t bitrate = static_cast<std::size_t>(fields.bitrate_kbps) * 1000;
  const std::size_t rate = static_cast<std::size_t>(fields.sample_rate);
  const std::size_t padding = fields.padding ? 1 : 0;
  // Samples per frame: 384 for Layer I (in 4-byte slots), 1152 for Layer II and MPEG-1 Layer
  // III, 576 for Layer III at the lower sampling frequencies.
  switch (fields.layer) {
    case 1:
      return (12 * bitrate / rate + padding) * 4;
    case 2:
      return 144 * bitrate / rate + padding;
    case 3:
      return (IsMpeg1(fields) ? 144 : 72) * bitrate / rate + padding;
    default:
      throw std::invalid_argument("MPEG audio layer must be 1, 2 or 3");
  }
}

ByteVector MpegFrames(const std::vector<MpegHeaderFields>& frames) {
  ByteWriter out;
  std::size_t counter = 0;
  for (const MpegHeaderFields& fields : frames) {
    const std::size_t length = MpegFrameLength(fields);
    out.BE32(MpegHeaderWord(fields));
    for (std::size_t i = 4; i < length; ++i, ++counter) {
      out.U8(static_cast<std::uint8_t>((counter * 37 + 11) % 255));  // never 0xFF
    }
  }
  return out.Take();
}

ByteVector MpegFrameRun(const MpegHeaderFields& fields, std::size_t count) {
  return MpegFrames(std::vector<MpegHeaderFields>(count, fields));
}

ByteVector MpegVbrRun(const MpegHeaderFields& fields, const std::vector<int>& bitrates_kbps) {
  std::vector<MpegHeaderFields> frames(bitrates_kbps.size(), fields);
  for (std::size_t i = 0; i < frames.size(); ++i) frames[i].bitrate_kbps = bitrates_kbps[i];
  return MpegFrames(frames);
}

ByteVector Id3v1Tag(const Id3v1Fields& fields) {
  ByteWriter out;
  out.Text("TAG");
  PutField(out, fields.title, 30);
  PutField(out, fields.artist, 30);
  PutField(out, fields.album, 30);
  PutField(out, fields.year, 4);
  if (fields.track) {
    PutField(out, fields.comment, 28);
    out.U8(0).U8(*fields.track);
  } else {
    PutField(out, fields.comment, 30);
  }
  out.U8(fields.genre);
  return out.Take();
}

}  // namespace rsf::synth
