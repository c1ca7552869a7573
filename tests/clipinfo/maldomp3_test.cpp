// Tests of MPEG audio header decoding, the MP3 / ID3 information texts and the MPEG synthesizer.
#include "clipinfo/maldomp3.h"

#include <gtest/gtest.h>

#include "synth/mpeg_audio_synth.h"

namespace rsf {
namespace {

using synth::MpegHeaderFields;
using synth::MpegVersion;

MpegHeaderFields Header(MpegVersion version, int layer, int bitrate_kbps, int sample_rate, bool padding = false) {
  MpegHeaderFields fields;
  fields.version = version;
  fields.layer = layer;
  fields.bitrate_kbps = bitrate_kbps;
  fields.sample_rate = sample_rate;
  fields.padding = padding;
  return fields;
}

int LengthOf(const MpegHeaderFields& fields) { return DecodeMP3Header(synth::MpegHeaderWord(fields)).FrameLength; }

std::string Id3(const synth::Id3v1Fields& fields) { return GetID3Info(Bytes(synth::Id3v1Tag(fields))); }

bool HasLine(const std::string& text, const std::string& line) { return text.find(line + "\r\n") != std::string::npos; }

TEST(MP3HeaderTest, DecodesEveryFieldOfACommonHeader) {
  const TMaldoMP3 frame = DecodeMP3Header(0xFFFB9064);
  EXPECT_TRUE(frame.Valid);
  EXPECT_EQ(frame.Version, 1);
  EXPECT_EQ(frame.Layer, 3);
  EXPECT_TRUE(frame.Protection);
  EXPECT_EQ(frame.Bitrate, 128);
  EXPECT_EQ(frame.SampleRate, 44100);
  EXPECT_FALSE(frame.Padding);
  EXPECT_EQ(frame.ChannelMode, "Joint Stereo");
  EXPECT_EQ(frame.ModeExtension, "Intense off / MS on");
  EXPECT_FALSE(frame.Copyright);
  EXPECT_TRUE(frame.Original);
  EXPECT_EQ(frame.Emphasis, "无");
  EXPECT_EQ(frame.FrameLength, 417);
  EXPECT_EQ(DecodeMP3Header(0xFFFB9264).FrameLength, 418);
}

TEST(MP3HeaderTest, FrameLengthsAcrossVersionsAndLayers) {
  EXPECT_EQ(LengthOf(Header(MpegVersion::kMpeg2, 3, 64, 22050)), 208);
  EXPECT_EQ(LengthOf(Header(MpegVersion::kMpeg2, 3, 64, 22050, true)), 209);
  EXPECT_EQ(LengthOf(Header(MpegVersion::kMpeg1, 1, 32, 32000)), 48);
  EXPECT_EQ(LengthOf(Header(MpegVersion::kMpeg1, 1, 32, 32000, true)), 52);
  EXPECT_EQ(LengthOf(Header(MpegVersion::kMpeg2, 2, 8, 16000)), 72);
  EXPECT_EQ(DecodeMP3Header(0xFFF39064).Bitrate, 80);   // MPEG-2 Layer III, index 9
  EXPECT_EQ(DecodeMP3Header(0xFFE7E800).Bitrate, 256);  // MPEG 2.5 Layer I reads the MPEG-2 table
}

TEST(MP3HeaderTest, InvalidHeadersStillCarryTheirFields) {
  const TMaldoMP3 free_format = DecodeMP3Header(0xFFFB0264);  // bitrate index 0, padding
  EXPECT_TRUE(!free_format.Valid && free_format.SampleRate == 44100);
  EXPECT_EQ(free_format.FrameLength, 1);
  EXPECT_EQ(DecodeMP3Header(0xFFFF0200).FrameLength, 4);  // Layer I pads by one 4-byte slot

  const TMaldoMP3 forbidden = DecodeMP3Header(0xFFFBF064);
  EXPECT_TRUE(!forbidden.Valid && forbidden.Bitrate == 0 && forbidden.ChannelMode == "Joint Stereo");
  const TMaldoMP3 no_rate = DecodeMP3Header(0xFFFB9C64);
  EXPECT_TRUE(!no_rate.Valid && no_rate.Bitrate == 128 && no_rate.FrameLength == 0);

  const TMaldoMP3 reserved_version = DecodeMP3Header(0xFFEB9064);
  EXPECT_TRUE(!reserved_version.Valid && reserved_version.Layer == 3);
  EXPECT_EQ(reserved_version.Bitrate + reserved_version.SampleRate + reserved_version.Version, 0);
  const TMaldoMP3 reserved_layer = DecodeMP3Header(0xFFF99064);
  EXPECT_TRUE(!reserved_layer.Valid && reserved_layer.SampleRate == 44100);
  EXPECT_EQ(reserved_layer.ModeExtension, "");
  EXPECT_EQ(reserved_layer.FrameLength, 0);
  const TMaldoMP3 reserved_emphasis = DecodeMP3Header(0xFFFB9066);
  EXPECT_TRUE(!reserved_emphasis.Valid && reserved_emphasis.Emphasis == "NIL");
  EXPECT_EQ(reserved_emphasis.FrameLength, 417);
  EXPECT_EQ(DecodeMP3Header(0xFFFB9067).Emphasis, "CCIT J.17");
}

TEST(MP3HeaderTest, NoSyncGivesTheEmptyRecord) {
  for (const std::uint32_t header : {0xFEFB9064u, 0xFFDF9064u, 0x00000000u, 0x7FFFFFFFu}) {
    const TMaldoMP3 frame = DecodeMP3Header(header);
    EXPECT_FALSE(frame.Valid);
    EXPECT_EQ(frame.Version + frame.Layer + frame.Bitrate + frame.SampleRate + frame.FrameLength, 0);
    EXPECT_EQ(frame.ChannelMode + frame.Emphasis, "");
  }
}

TEST(MP3HeaderTest, ModeExtensionOnlyForJointStereo) {
  EXPECT_EQ(DecodeMP3Header(0xFFFB9074).ModeExtension, "Intense on / MS on");
  EXPECT_EQ(DecodeMP3Header(0xFFFB9054).ModeExtension, "Intense on / MS off");
  EXPECT_EQ(DecodeMP3Header(0xFFFD9040).ModeExtension, "Stereo Band 4-31");   // Layer II
  EXPECT_EQ(DecodeMP3Header(0xFFFF9070).ModeExtension, "Stereo Band 16-31");  // Layer I
  for (const std::uint32_t header : {0xFFFB9034u, 0xFFFB90B4u, 0xFFFB90F4u}) {
    EXPECT_EQ(DecodeMP3Header(header).ModeExtension, "") << std::hex << header;
  }
  EXPECT_EQ(DecodeMP3Header(0xFFFB9034).ChannelMode, "立体声");
  EXPECT_EQ(DecodeMP3Header(0xFFFB90B4).ChannelMode, "Dual Channel");
  EXPECT_EQ(DecodeMP3Header(0xFFFB90F4).ChannelMode, "单声");
}

TEST(MP3InfoTest, FiveLinesWithoutTrailingBreak) {
  EXPECT_EQ(GetMP3Info(DecodeMP3Header(0xFFFB9064)),
            "类型    : MPEG-1\r\n层      : 层 3\r\n比特率  : 128 kbps\r\n频率      :44100 hz\r\n"
            "模式      :Joint Stereo");
  MpegHeaderFields mpeg25 = Header(MpegVersion::kMpeg25, 3, 8, 8000);
  mpeg25.channel_mode = 3;
  const std::string text = GetMP3Info(DecodeMP3Header(synth::MpegHeaderWord(mpeg25)));
  EXPECT_TRUE(text.starts_with("类型    : MPEG-3\r\n"));
  EXPECT_TRUE(HasLine(text, "频率      :8000 hz"));
  EXPECT_TRUE(text.ends_with("\r\n模式      :单声"));
}

TEST(ID3InfoTest, SixLinesFromTheTagFields) {
  synth::Id3v1Fields tag;
  tag.title = "Song";
  tag.artist = "Band  ";  // trailing spaces stay
  tag.album = "Disc";
  tag.year = "1999";
  tag.comment = "Fine";
  tag.genre = 17;
  EXPECT_EQ(Id3(tag), "标题    : Song\r\n艺术家  : Band  \r\n专辑    : Disc\r\n年份    : 1999\r\n注释    : Fine\r\n"
                      "风格   : Rock\r\n");

  tag.title = std::string(30, 'T') + "spill";  // fills the field, no zero byte
  tag.comment = std::string(30, 'c');
  tag.track = 7;  // version 1.1: comment cut to 28 bytes, track not shown
  const std::string v11 = Id3(tag);
  EXPECT_TRUE(HasLine(v11, "标题    : " + std::string(30, 'T')));
  EXPECT_TRUE(HasLine(v11, "注释    : " + std::string(28, 'c')));
  EXPECT_EQ(v11.find('\x07'), std::string::npos);

  tag.title = "\xD6\xD0\xCE\xC4";  // 中文 in GBK
  tag.album = "a\xFF" "b";
  tag.year = "";
  const std::string gbk = Id3(tag);
  EXPECT_TRUE(HasLine(gbk, "标题    : 中文"));
  EXPECT_TRUE(HasLine(gbk, "专辑    : a\xEF\xBF\xBD" "b"));  // U+FFFD for the stray byte
  EXPECT_TRUE(HasLine(gbk, "年份    : "));
}

TEST(ID3InfoTest, WrongBlockLengthGivesTheErrorText) {
  synth::ByteVector tag = synth::Id3v1Tag({});
  EXPECT_EQ(GetID3Info(Bytes(tag).first(127)), "解码 ID3 时出错。");
  EXPECT_EQ(GetID3Info(Bytes()), "解码 ID3 时出错。");
  tag.push_back(0);
  EXPECT_EQ(GetID3Info(Bytes(tag)), "解码 ID3 时出错。");
}

TEST(GenreTest, NamesAndUnknown) {
  EXPECT_EQ(GetGenreName(0), "Blues");
  EXPECT_EQ(GetGenreName(40), "AlternRock");
  EXPECT_EQ(GetGenreName(67), "Psychadelic");
  EXPECT_EQ(GetGenreName(73), "Acid Punk");
  EXPECT_EQ(GetGenreName(100), "Humour");
  EXPECT_EQ(GetGenreName(117), "Poweer Ballad");
  EXPECT_EQ(GetGenreName(118), "Rhytmic Soul");
  EXPECT_EQ(GetGenreName(125), "Dance Hall");
  EXPECT_EQ(GetGenreName(126), "Unknown");
  EXPECT_EQ(GetGenreName(255), "Unknown");
  EXPECT_EQ(GetGenreName(-1), "Unknown");
}

TEST(MpegSynthTest, FramesDecodeAsValidWithTheirLength) {
  const std::vector<int> bitrates = {128, 320, 32, 64};
  const synth::ByteVector run = synth::MpegVbrRun(MpegHeaderFields{}, bitrates);
  std::size_t offset = 0;
  for (const int bitrate : bitrates) {
    const TMaldoMP3 frame = DecodeMP3Header(*ReadBE32(Bytes(run), offset));
    ASSERT_TRUE(frame.Valid);
    EXPECT_EQ(frame.Bitrate, bitrate);
    for (std::size_t i = offset + 1; i < offset + static_cast<std::size_t>(frame.FrameLength); ++i)
      ASSERT_NE(run[i], 0xFF) << i;  // no false sync inside a frame
    offset += static_cast<std::size_t>(frame.FrameLength);
  }
  EXPECT_EQ(offset, run.size());
  EXPECT_EQ(synth::MpegFrameRun(Header(MpegVersion::kMpeg2, 2, 160, 24000, true), 3).size(), 3u * 961u);
  EXPECT_EQ(synth::Id3v1Tag({}).size(), kID3TagBytes);
}

// The synthesizer keeps its own copy of the tables: every valid header must survive a round trip
// through both, which catches a slip in either transcription.
TEST(MpegSynthTest, TablesAgreeWithTheDecoder) {
  const MpegVersion versions[4] = {MpegVersion::kMpeg25, MpegVersion::kReserved, MpegVersion::kMpeg2,
                                   MpegVersion::kMpeg1};
  for (std::uint32_t b1 = 0xE0; b1 <= 0xFF; ++b1) {
    for (std::uint32_t b2 = 0; b2 <= 0xFF; b2 += 2) {  // the private bit is not read
      const std::uint32_t word = 0xFF000000u | (b1 << 16) | (b2 << 8) | 0x64u;
      const TMaldoMP3 frame = DecodeMP3Header(word);
      if (!frame.Valid) continue;
      MpegHeaderFields fields =
          Header(versions[(b1 >> 3) & 3], frame.Layer, frame.Bitrate, frame.SampleRate, frame.Padding);
      fields.protection = frame.Protection;
      fields.mode_extension = 2;  // B3 0x64: joint stereo, middle/side on, original
      ASSERT_EQ(synth::MpegHeaderWord(fields), word) << std::hex << word;
      ASSERT_EQ(synth::MpegFrameLength(fields), static_cast<std::size_t>(frame.FrameLength)) << std::hex << word;
    }
  }
}

}  // namespace
}  // namespace rsf
