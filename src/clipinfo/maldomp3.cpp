// MPEG audio frame header decoding and the MP3 / ID3 version 1 information texts (unit maldomp3).
// DecodeMP3Header runs for almost every 0xFF byte of a source in MP3 mode, so it is kept to bit
// extraction and table lookups, and a header that fails the sync test costs no allocation.
#include "clipinfo/maldomp3.h"

#include <array>
#include <string_view>

#include "base/text_encoding.h"

namespace rsf {
namespace {

// Bitrates in kbit/s by [low sampling frequencies][layer - 1][bitrate index]. Row 0 holds the
// three MPEG-1 tables (ISO/IEC 11172-3); row 1 the MPEG-2 tables (ISO/IEC 13818-3), where Layer II
// and Layer III share one table. MPEG 2.5 uses row 1. Index 0 (free format) and 15 (forbidden)
// give 0.
constexpr std::int16_t kBitrates[2][3][16] = {
    {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    },
    {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    },
};

// Sampling frequencies in Hz by [Version][sampling-frequency index]; Version 0 is reserved.
constexpr std::int32_t kSampleRates[4][4] = {
    {0, 0, 0, 0},
    {44100, 48000, 32000, 0},
    {22050, 24000, 16000, 0},
    {11025, 12000, 8000, 0},
};

// The two-bit version code 00, 01, 10, 11 stands for MPEG 2.5, reserved, MPEG-2, MPEG-1.
constexpr std::int32_t kVersionOfCode[4] = {3, 0, 2, 1};
// The two-bit layer code 00, 01, 10, 11 stands for reserved, Layer III, Layer II, Layer I.
constexpr std::int32_t kLayerOfCode[4] = {0, 3, 2, 1};

constexpr std::string_view kChannelModes[4] = {"立体声", "Joint Stereo", "Dual Channel", "单声"};
constexpr int kJointStereo = 1;

// Layers I and II code the lowest subband that is coded jointly; Layer III codes two flags,
// bit 1 middle/side stereo and bit 0 intensity stereo.
constexpr std::string_view kBandExtensions[4] = {"Stereo Band 4-31", "Stereo Band 8-31", "Stereo Band 12-31",
                                                 "Stereo Band 16-31"};
constexpr std::string_view kLayer3Extensions[4] = {"Intense off / MS off", "Intense on / MS off",
                                                   "Intense off / MS on", "Intense on / MS on"};

constexpr std::string_view kEmphases[4] = {"无", "50/15 ms", "NIL", "CCIT J.17"};
constexpr unsigned kReservedEmphasis = 2;

constexpr std::uint32_t kSyncMask = 0xFFE00000u;

constexpr std::array<std::string_view, 126> kGenres = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop",
    "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game",
    "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative",
    "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial",
    "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40",
    "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave",
    "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
    "Rock & Roll", "Hard Rock", "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob",
    "Latin", "Revival", "Celtic", "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock",
    "Psychedelic Rock", "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",
    "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Brass", "Primus",
    "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Poweer Ballad",
    "Rhytmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "A Capela", "Euro-House", "Dance Hall",
};

// ID3 version 1 text fields as offset and width inside the 128-byte tag; byte 127 is the genre.
struct TagField {
  std::string_view label;
  std::size_t offset;
  std::size_t width;
};
constexpr TagField kTagFields[5] = {
    {"标题    : ", 3, 30}, {"艺术家  : ", 33, 30}, {"专辑    : ", 63, 30},
    {"年份    : ", 93, 4},  {"注释    : ", 97, 30},
};
constexpr std::size_t kGenreOffset = 127;

constexpr std::string_view kLineBreak = "\r\n";

unsigned Bits(std::uint32_t value, int lowest, int count) {
  return (value >> lowest) & ((1u << count) - 1u);
}

// The field's bytes up to the first zero, decoded from GBK; empty when the field lies outside.
std::string TagText(Bytes block, const TagField& field) {
  if (!FitsIn(block.size(), field.offset, field.width)) return {};
  return GbkToUtf8(TextUpToZero(block.subspan(field.offset, field.width)));
}

// The numbers of a header that both decoders share. Valid and FrameLength follow from them alone.
struct HeaderNumbers {
  std::int32_t version = 0;
  std::int32_t layer = 0;
  std::int32_t bitrate = 0;
  std::int32_t sample_rate = 0;
  bool padding = false;
  unsigned emphasis = 0;
};

HeaderNumbers NumbersOf(std::uint32_t header) {
  // B1 holds bits 23..16, B2 bits 15..8, B3 bits 7..0 of `header`.
  HeaderNumbers numbers;
  numbers.version = kVersionOfCode[Bits(header, 19, 2)];
  numbers.layer = kLayerOfCode[Bits(header, 17, 2)];
  const unsigned bitrate_index = Bits(header, 12, 4);
  if (numbers.version != 0 && numbers.layer != 0) {
    const int low_frequencies = numbers.version == 1 ? 0 : 1;
    numbers.bitrate = kBitrates[low_frequencies][numbers.layer - 1][bitrate_index];
  }
  numbers.sample_rate = kSampleRates[numbers.version][Bits(header, 10, 2)];
  numbers.padding = Bits(header, 9, 1) != 0;
  numbers.emphasis = Bits(header, 0, 2);
  return numbers;
}

MP3FrameShape ShapeOf(const HeaderNumbers& numbers) {
  MP3FrameShape shape;
  // A Layer I frame counts 4-byte slots, Layers II and III count bytes. An MPEG-1 Layer III frame
  // holds 1152 samples, one of the lower sampling frequencies only 576.
  if (numbers.sample_rate != 0) {
    const std::int32_t padding = numbers.padding ? 1 : 0;
    switch (numbers.layer) {
      case 1:
        shape.FrameLength = 4 * (12000 * numbers.bitrate / numbers.sample_rate + padding);
        break;
      case 2:
        shape.FrameLength = 144000 * numbers.bitrate / numbers.sample_rate + padding;
        break;
      case 3:
        shape.FrameLength = (numbers.version == 1 ? 144000 : 72000) * numbers.bitrate / numbers.sample_rate + padding;
        break;
      default:
        break;
    }
  }
  shape.Valid = numbers.version > 0 && numbers.layer > 0 && numbers.bitrate > 0 && numbers.sample_rate > 0 &&
                numbers.emphasis != kReservedEmphasis;
  return shape;
}

}  // namespace

MP3FrameShape DecodeMP3FrameShape(std::uint32_t header) {
  if ((header & kSyncMask) != kSyncMask) return {};
  return ShapeOf(NumbersOf(header));
}

TMaldoMP3 DecodeMP3Header(std::uint32_t header) {
  TMaldoMP3 frame;
  if ((header & kSyncMask) != kSyncMask) return frame;

  const HeaderNumbers numbers = NumbersOf(header);
  frame.Version = numbers.version;
  frame.Layer = numbers.layer;
  frame.Protection = Bits(header, 16, 1) != 0;
  frame.Bitrate = numbers.bitrate;
  frame.SampleRate = numbers.sample_rate;
  frame.Padding = numbers.padding;

  const unsigned channel_mode = Bits(header, 6, 2);
  frame.ChannelMode.assign(kChannelModes[channel_mode]);
  if (channel_mode == kJointStereo && frame.Layer != 0) {
    const unsigned extension = Bits(header, 4, 2);
    frame.ModeExtension.assign(frame.Layer == 3 ? kLayer3Extensions[extension] : kBandExtensions[extension]);
  }
  frame.Copyright = Bits(header, 3, 1) != 0;
  frame.Original = Bits(header, 2, 1) != 0;
  frame.Emphasis.assign(kEmphases[numbers.emphasis]);

  const MP3FrameShape shape = ShapeOf(numbers);
  frame.FrameLength = shape.FrameLength;
  frame.Valid = shape.Valid;
  return frame;
}

std::string GetMP3Info(const TMaldoMP3& frame) {
  std::string text;
  text.reserve(160);
  text.append("类型    : MPEG-").append(std::to_string(frame.Version)).append(kLineBreak);
  text.append("层      : 层 ").append(std::to_string(frame.Layer)).append(kLineBreak);
  text.append("比特率  : ").append(std::to_string(frame.Bitrate)).append(" kbps").append(kLineBreak);
  text.append("频率      :").append(std::to_string(frame.SampleRate)).append(" hz").append(kLineBreak);
  text.append("模式      :").append(frame.ChannelMode);
  return text;
}

std::string GetID3Info(Bytes block) {
  if (block.size() != kID3TagBytes) return "解码 ID3 时出错。";
  std::string text;
  for (const TagField& field : kTagFields) {
    text.append(field.label).append(TagText(block, field)).append(kLineBreak);
  }
  text.append("风格   : ").append(GetGenreName(block[kGenreOffset])).append(kLineBreak);
  return text;
}

std::string GetGenreName(int genre) {
  if (genre < 0 || static_cast<std::size_t>(genre) >= kGenres.size()) return "Unknown";
  return std::string(kGenres[static_cast<std::size_t>(genre)]);
}

}  // namespace rsf
