// Tests of the WAVE format information text and the format-tag name table.
#include "clipinfo/maldowav.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "synth/byte_writer.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::ByteWriter;

struct WaveFormat {
  std::uint16_t tag = 1;
  std::uint16_t channels = 2;
  std::uint32_t samples_per_sec = 22050;
  std::uint32_t avg_bytes_per_sec = 88200;
  std::uint16_t bits_per_sample = 16;
  std::uint32_t chunk_length = 16;
};

// The first 40 bytes of a WAVE file: RIFF header, format chunk, and whatever follows it (the
// data chunk header for a 16-byte format chunk, the format's extra bytes otherwise).
ByteVector WavBlock(const WaveFormat& f) {
  ByteWriter w;
  w.Text("RIFF").LE32(100036).Text("WAVEfmt ").LE32(f.chunk_length);
  w.LE16(f.tag).LE16(f.channels).LE32(f.samples_per_sec).LE32(f.avg_bytes_per_sec);
  w.LE16(static_cast<std::uint16_t>(f.channels * f.bits_per_sample / 8)).LE16(f.bits_per_sample);
  if (f.chunk_length == 16) {
    w.Text("data");
  } else {
    w.LE16(22).LE16(f.bits_per_sample);
  }
  return w.Take();
}

std::string LineOf(const std::string& text, int index) {
  std::size_t begin = 0;
  for (int i = 0; i < index; ++i) begin = text.find("\r\n", begin) + 2;
  return text.substr(begin, text.find("\r\n", begin) - begin);
}

TEST(WavInfoTest, ShowsSampleFormatRateAndName) {
  const ByteVector block = WavBlock({});
  EXPECT_EQ(block.size(), kWavInfoBytes);
  const std::string text = GetWAVInfo(block);
  EXPECT_EQ(text, "22050 Hz 16 Bit 立体声\r\n速率      : 88200\r\n格式   : PCM");
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++breaks;
  EXPECT_EQ(breaks, 2u);
  EXPECT_FALSE(text.ends_with("\r\n"));
}

TEST(WavInfoTest, ChannelWord) {
  auto first_line = [](std::uint16_t channels) {
    WaveFormat f;
    f.channels = channels;
    return LineOf(GetWAVInfo(WavBlock(f)), 0);
  };
  EXPECT_EQ(first_line(1), "22050 Hz 16 Bit 单声");
  EXPECT_EQ(first_line(2), "22050 Hz 16 Bit 立体声");
  EXPECT_EQ(first_line(0), "22050 Hz 16 Bit 未知模式");
  EXPECT_EQ(first_line(6), "22050 Hz 16 Bit 未知模式");
  EXPECT_EQ(first_line(258), "22050 Hz 16 Bit 未知模式");  // low byte 2
}

TEST(WavInfoTest, FieldsPrintedAsStored) {
  WaveFormat f;
  f.samples_per_sec = 0x80000000;
  f.avg_bytes_per_sec = 0xFFFFFFFF;
  f.bits_per_sample = 0xFFFF;
  const std::string text = GetWAVInfo(WavBlock(f));
  EXPECT_EQ(LineOf(text, 0), "-2147483648 Hz 65535 Bit 立体声");
  EXPECT_EQ(LineOf(text, 1), "速率      : -1");
  f.samples_per_sec = 0x7FFFFFFF;
  EXPECT_EQ(LineOf(GetWAVInfo(WavBlock(f)), 0), "2147483647 Hz 65535 Bit 立体声");
}

TEST(WavInfoTest, ChunkLengthIsNotConsulted) {
  WaveFormat f;
  const std::string expected = GetWAVInfo(WavBlock(f));
  f.chunk_length = 18;
  EXPECT_EQ(GetWAVInfo(WavBlock(f)), expected);
  f.chunk_length = 40;
  f.tag = 0xFFFE;
  EXPECT_EQ(GetWAVInfo(WavBlock(f)), "22050 Hz 16 Bit 立体声\r\n速率      : 88200\r\n格式   : 未知");
}

TEST(WavInfoTest, MissingBytesReadAsZero) {
  const ByteVector block = WavBlock({});
  EXPECT_EQ(GetWAVInfo(Bytes(block).first(31)), "22050 Hz 0 Bit 立体声\r\n速率      : 0\r\n格式   : PCM");
  EXPECT_EQ(GetWAVInfo(Bytes{}), "0 Hz 0 Bit 未知模式\r\n速率      : 0\r\n格式   : 未知");
}

TEST(WaveFormatNameTest, NamesFromTheTable) {
  EXPECT_EQ(GetWaveFormatName(0x0001), "PCM");
  EXPECT_EQ(GetWaveFormatName(0x0055), "MPEG LAYER3");
  EXPECT_EQ(GetWaveFormatName(0x0050), "MPEG");
  EXPECT_EQ(GetWaveFormatName(0x0064), "G726 ADPCM");
  EXPECT_EQ(GetWaveFormatName(0x0140), "G726ADPCM");
  EXPECT_EQ(GetWaveFormatName(0x003A), "ECHOSC3");
  EXPECT_EQ(GetWaveFormatName(0x00A0), "MALDEN PHONYTALK");
  EXPECT_EQ(GetWaveFormatName(0x2000), "DVM");
  EXPECT_EQ(GetWaveFormatName(0x0000), "未知");
  EXPECT_EQ(GetWaveFormatName(0x0009), "未知");
  EXPECT_EQ(GetWaveFormatName(0x2001), "未知");
  EXPECT_EQ(GetWaveFormatName(0xFFFE), "未知");
  EXPECT_EQ(GetWaveFormatName(0xFFFF), "未知");
}

TEST(WaveFormatNameTest, ExactlyTheTableTagsHaveNames) {
  int named = 0;
  for (std::uint32_t tag = 0; tag <= 0xFFFF; ++tag) {
    const std::string name = GetWaveFormatName(static_cast<std::uint16_t>(tag));
    EXPECT_FALSE(name.empty()) << tag;
    if (name != "未知") ++named;
  }
  EXPECT_EQ(named, 126);
}

}  // namespace
}  // namespace rsf
