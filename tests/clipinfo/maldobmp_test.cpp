// Tests of the bitmap header plausibility rule and the bitmap information text.
#include "clipinfo/maldobmp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "synth/byte_writer.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::ByteWriter;

// The 35 bytes a scanner hands over: the 14-byte file header and the first 21 bytes of a
// 40-byte info header (up to and including the first byte of the image size).
ByteVector BmpBlock(std::uint32_t width, std::uint32_t height, std::uint16_t bits_per_pixel) {
  ByteWriter w;
  w.Text("BM").LE32(0x12345).LE32(0).LE32(54);
  w.LE32(40).LE32(width).LE32(height).LE16(1).LE16(bits_per_pixel).LE32(0).U8(0);
  return w.Take();
}

bool Accepts(std::uint32_t width, std::uint32_t height, std::uint16_t bits_per_pixel) {
  return IsBMPHeader(BmpBlock(width, height, bits_per_pixel));
}

TEST(BmpHeaderTest, SidesMustLieBetween1And3999) {
  EXPECT_EQ(BmpBlock(1, 1, 8).size(), kBmpInfoBytes);
  EXPECT_TRUE(Accepts(3999, 1, 24));
  EXPECT_TRUE(Accepts(1, 3999, 24));
  EXPECT_FALSE(Accepts(4000, 1, 24));
  EXPECT_FALSE(Accepts(1, 4000, 24));
  EXPECT_FALSE(Accepts(0, 480, 24));
  EXPECT_FALSE(Accepts(640, 0, 24));
}

TEST(BmpHeaderTest, AcceptsOnlyTheUsualBitCounts) {
  for (std::uint32_t bits = 0; bits <= 0xFFFF; ++bits) {
    const bool usual = bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
                       bits == 32 || bits == 48;
    EXPECT_EQ(Accepts(640, 480, static_cast<std::uint16_t>(bits)), usual) << "bits per pixel " << bits;
  }
}

TEST(BmpHeaderTest, LooksOnlyAtTheLowHalfOfWidthAndHeight) {
  // Top-down bitmaps store a negative height; its low half is 4000 or more down to -61536.
  EXPECT_FALSE(Accepts(640, static_cast<std::uint32_t>(-1), 8));
  EXPECT_FALSE(Accepts(640, static_cast<std::uint32_t>(-480), 8));
  EXPECT_FALSE(Accepts(640, static_cast<std::uint32_t>(-61536), 8));
  EXPECT_TRUE(Accepts(640, static_cast<std::uint32_t>(-61537), 8));  // low half 3999
  EXPECT_TRUE(Accepts(65636, 480, 8));                                // 0x10064
  EXPECT_EQ(GetBMPInfo(BmpBlock(65636, 480, 8)), "大小 : 100 x 480\r\nBPP : 8");
}

TEST(BmpHeaderTest, ShortBlockIsNeverAHeader) {
  ByteVector block = BmpBlock(640, 480, 8);
  block.pop_back();
  EXPECT_FALSE(IsBMPHeader(block));
  EXPECT_FALSE(IsBMPHeader(Bytes{}));
}

TEST(BmpInfoTest, ShowsSizeAndBitCountOnTwoLines) {
  const std::string text = GetBMPInfo(BmpBlock(640, 480, 8));
  EXPECT_EQ(text, "大小 : 640 x 480\r\nBPP : 8");
  EXPECT_EQ(text.find("\r\n"), text.rfind("\r\n"));
  EXPECT_FALSE(text.ends_with("\r\n"));
  // No test of its own: values the rule rejects are still shown.
  EXPECT_EQ(GetBMPInfo(BmpBlock(0, 65535, 64)), "大小 : 0 x 65535\r\nBPP : 64");
}

TEST(BmpInfoTest, MissingBytesReadAsZero) {
  const ByteVector full = BmpBlock(640, 480, 8);
  EXPECT_EQ(GetBMPInfo(Bytes(full).first(24)), "大小 : 640 x 480\r\nBPP : 0");
  EXPECT_EQ(GetBMPInfo(Bytes(full).first(23)), "大小 : 640 x 0\r\nBPP : 0");
  EXPECT_EQ(GetBMPInfo(Bytes{}), "大小 : 0 x 0\r\nBPP : 0");
}

}  // namespace
}  // namespace rsf
