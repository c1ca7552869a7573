// DecodeMP3FrameShape, the validity and frame length that the MP3 search decodes for every
// header it looks at, agrees with DecodeMP3Header on every header there is.
#include <gtest/gtest.h>

#include "clipinfo/maldomp3.h"

namespace rsf {
namespace {

TEST(MP3FrameShapeTest, AgreesWithTheFullDecodingOnEveryHeader) {
  // The eleven sync bits set: every combination of the other 21 bits. Without them: a sample.
  int valid = 0;
  for (std::uint32_t low = 0; low < (1u << 21); ++low) {
    for (const std::uint32_t high : {0xFFE00000u, (low * 2654435761u) & 0xFFE00000u}) {
      const std::uint32_t header = high | low;
      const TMaldoMP3 frame = DecodeMP3Header(header);
      const MP3FrameShape shape = DecodeMP3FrameShape(header);
      ASSERT_EQ(shape.Valid, frame.Valid) << std::hex << header;
      ASSERT_EQ(shape.FrameLength, frame.FrameLength) << std::hex << header;
      valid += shape.Valid ? 1 : 0;
    }
  }
  EXPECT_GT(valid, 100000);
  EXPECT_EQ(DecodeMP3FrameShape(0xFFFB9064).FrameLength, 417);
  EXPECT_TRUE(DecodeMP3FrameShape(0xFFFB9064).Valid);
}

}  // namespace
}  // namespace rsf
