// Tests of the AVI stream information text and the codec name table.
#include "clipinfo/maldoavi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "clipinfo/codec_table.h"
#include "synth/byte_writer.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::ByteWriter;
using namespace std::string_view_literals;

struct AviHeader {
  std::uint32_t micro_sec_per_frame = 33333;
  std::uint32_t total_frames = 1800;
  std::uint32_t width = 320;
  std::uint32_t height = 240;
  std::string_view handler = "cvid";  // exactly four bytes
};

// The first 255 bytes of an AVI file in the usual layout: RIFF header, LIST hdrl, the 56-byte
// avih chunk, LIST strl and the start of the first strh chunk, padded with zero bytes.
ByteVector AviBlock(const AviHeader& h) {
  ByteWriter w;
  w.Text("RIFF").LE32(1000000).Text("AVI LIST").LE32(1000).Text("hdrl");
  w.Text("avih").LE32(56).LE32(h.micro_sec_per_frame).LE32(0).LE32(0).LE32(0x10);
  w.LE32(h.total_frames).LE32(0).LE32(1).LE32(0).LE32(h.width).LE32(h.height).Fill(16, 0);
  w.Text("LIST").LE32(116).Text("strl").Text("strh").LE32(56).Text("vids").Text(h.handler);
  w.Fill(255 - w.size(), 0);
  return w.Take();
}

std::string LineOf(const std::string& text, int index) {
  std::size_t begin = 0;
  for (int i = 0; i < index; ++i) begin = text.find("\r\n", begin) + 2;
  return text.substr(begin, text.find("\r\n", begin) - begin);
}

std::string CodecLine(std::string_view handler) {
  AviHeader h;
  h.handler = handler;
  return LineOf(GetAVIInfo(AviBlock(h)), 3);
}

TEST(AviInfoTest, ShowsRateSizeLengthAndCodec) {
  const ByteVector block = AviBlock({});
  EXPECT_EQ(block.size(), kAviInfoBytes);
  const std::string text = GetAVIInfo(block);
  EXPECT_EQ(text, "FPS : 30\r\n大小 : 320 x 240\r\n播放长度 : 0:59\r\n编码器 : Cinepak (cvid)");
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++breaks;
  EXPECT_EQ(breaks, 3u);
  EXPECT_FALSE(text.ends_with("\r\n"));
}

TEST(AviInfoTest, FrameRateAndPlayLength) {
  auto info = [](std::uint32_t micro_sec_per_frame, std::uint32_t total_frames) {
    AviHeader h;
    h.micro_sec_per_frame = micro_sec_per_frame;
    h.total_frames = total_frames;
    const std::string text = GetAVIInfo(AviBlock(h));
    return LineOf(text, 0) + " | " + LineOf(text, 2);
  };
  EXPECT_EQ(info(40000, 60000), "FPS : 25 | 播放长度 : 40:0");
  EXPECT_EQ(info(41708, 0), "FPS : 23 | 播放长度 : 0:0");
  EXPECT_EQ(info(33367, 1), "FPS : 29 | 播放长度 : 0:0");
  EXPECT_EQ(info(40000, 100000), "FPS : 25 | 播放长度 : 66:40");  // no hour field
  EXPECT_EQ(info(40000, 3125), "FPS : 25 | 播放长度 : 2:5");
  EXPECT_EQ(info(1000000, 60), "FPS : 1 | 播放长度 : 1:0");
  EXPECT_EQ(info(1, 1), "FPS : 1000000 | 播放长度 : 0:0");
  EXPECT_EQ(info(0, 60000), "FPS : 0 | 播放长度 : 0:0");
  // Both fields unsigned, their product taken in 64 bits.
  EXPECT_EQ(info(0x80000000, 1), "FPS : 0 | 播放长度 : 35:47");
  EXPECT_EQ(info(0xFFFFFFFF, 0xFFFFFFFF), "FPS : 0 | 播放长度 : 307445734418:39");
}

TEST(AviInfoTest, SizeFieldsAreSigned) {
  AviHeader h;
  h.width = 0xFFFFFFFF;
  h.height = 0x80000000;
  EXPECT_EQ(LineOf(GetAVIInfo(AviBlock(h)), 1), "大小 : -1 x -2147483648");
  h.width = 0x7FFFFFFF;
  h.height = 0;
  EXPECT_EQ(LineOf(GetAVIInfo(AviBlock(h)), 1), "大小 : 2147483647 x 0");
}

TEST(AviInfoTest, CodecLine) {
  EXPECT_EQ(CodecLine("XVID"), "编码器 : XVID (XVID)");
  EXPECT_EQ(CodecLine("\0\0\0\0"sv), "编码器 :  ()");
  EXPECT_EQ(CodecLine("IAN\0"sv), "编码器 : Indeo 4 Codec (IAN)");
  EXPECT_EQ(CodecLine("IAN "), "编码器 : IAN  (IAN )");
  EXPECT_EQ(CodecLine("IA\0N"sv), "编码器 : IA (IA)");  // the code ends at the first zero
  // A0 A0 lies in GBK's extension area and decodes as U+724B.
  EXPECT_EQ(CodecLine("Y8\xA0\xA0"), "编码器 : Grayscale video (Y8牋)");
  EXPECT_EQ(CodecLine("XVI\xFF"), "编码器 : XVI\uFFFD (XVI\uFFFD)");
  EXPECT_EQ(CodecLine("BINK"), "编码器 : Bink 视频 (BINK)");
  // GBK bytes of 测试 decoded for display
  EXPECT_EQ(CodecLine("\xB2\xE2\xCA\xD4"), "编码器 : 测试 (测试)");
}

TEST(AviInfoTest, ShortBlockReadsMissingBytesAsZero) {
  const ByteVector block = AviBlock({});
  EXPECT_EQ(GetAVIInfo(Bytes(block).first(115)),
            "FPS : 30\r\n大小 : 320 x 240\r\n播放长度 : 0:59\r\n编码器 : cvi (cvi)");
  EXPECT_EQ(GetAVIInfo(Bytes(block).first(112)),
            "FPS : 30\r\n大小 : 320 x 240\r\n播放长度 : 0:59\r\n编码器 :  ()");
  EXPECT_EQ(GetAVIInfo(Bytes(block).first(51)), "FPS : 30\r\n大小 : 0 x 0\r\n播放长度 : 0:0\r\n编码器 :  ()");
  EXPECT_EQ(GetAVIInfo(Bytes{}), "FPS : 0\r\n大小 : 0 x 0\r\n播放长度 : 0:0\r\n编码器 :  ()");
}

TEST(CodecNameTest, ExactCaseSensitiveWholeCodes) {
  EXPECT_EQ(GetCodecName("CVID"), "Cinepak");
  EXPECT_EQ(GetCodecName("cvid"), "Cinepak");
  EXPECT_EQ(GetCodecName("Cvid"), "Cvid");
  EXPECT_EQ(GetCodecName("DIVX"), "DivX");
  EXPECT_EQ(GetCodecName("divx"), "DivX");
  EXPECT_EQ(GetCodecName("DivX"), "DivX");  // itself, not the table's
  EXPECT_EQ(GetCodecName("mJPG"), "Motion JPEG including Huffman Tables");
  EXPECT_EQ(GetCodecName("MJPG"), "Motion JPEG");
  EXPECT_EQ(GetCodecName("IAN"), "Indeo 4 Codec");
  EXPECT_EQ(GetCodecName("IAN "), "IAN ");
  EXPECT_EQ(GetCodecName("IANX"), "IANX");
  EXPECT_EQ(GetCodecName("RLE "), "Run Length Encoder");
  EXPECT_EQ(GetCodecName("RLE"), "RLE");
  EXPECT_EQ(GetCodecName("RVX"), "RDX");
  EXPECT_EQ(GetCodecName("ZPEG"), "Video Zipper");
  EXPECT_EQ(GetCodecName("3IV1"), "3ivx");
  EXPECT_EQ(GetCodecName("Y8\xA0\xA0"), "Grayscale video");
  EXPECT_EQ(GetCodecName("Y8"), "Y8");
  EXPECT_EQ(GetCodecName(""), "");
}

TEST(CodecNameTest, RangesAndLastMatchWins) {
  EXPECT_EQ(GetCodecName("IV32"), "Indeo 3.2");
  EXPECT_EQ(GetCodecName("IV30"), "Indeo 3");
  EXPECT_EQ(GetCodecName("IV35"), "Indeo 3");
  EXPECT_EQ(GetCodecName("IV39"), "Indeo 3");
  EXPECT_EQ(GetCodecName("IV40"), "Indeo Interactive");
  EXPECT_EQ(GetCodecName("IV45"), "Indeo Interactive");
  EXPECT_EQ(GetCodecName("IV50"), "Indeo Interactive");
  EXPECT_EQ(GetCodecName("IV51"), "IV51");
  EXPECT_EQ(GetCodecName("IV3"), "IV3");
  EXPECT_EQ(GetCodecName("IV3A"), "IV3A");
  EXPECT_EQ(GetCodecName("IV3:"), "IV3:");  // the character after 9
  EXPECT_EQ(GetCodecName("IV3/"), "IV3/");  // the character before 0
  EXPECT_EQ(GetCodecName("H260"), "ITU H.26n");
  EXPECT_EQ(GetCodecName("H263"), "ITU H.26n");
  EXPECT_EQ(GetCodecName("H269"), "ITU H.26n");
  EXPECT_EQ(GetCodecName("H26"), "H26");
  EXPECT_EQ(GetCodecName("H270"), "H270");
  EXPECT_EQ(GetCodecName("h263"), "h263");
  EXPECT_EQ(GetCodecName("i263"), "ITU H.263");
}

TEST(CodecNameTest, TableShape) {
  const auto table = CodecTable();
  EXPECT_EQ(table.size(), 161u);
  int ranges = 0;
  for (const CodecEntry& entry : table) {
    EXPECT_FALSE(entry.name.empty()) << entry.key;
    EXPECT_LE(entry.key.size(), entry.digit_range ? 3u : 4u) << entry.key;
    EXPECT_GE(entry.key.size(), 3u) << entry.key;
    if (entry.digit_range) ++ranges;
  }
  EXPECT_EQ(ranges, 3);
}

}  // namespace
}  // namespace rsf
