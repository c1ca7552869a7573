// The bounds-checked field readers: the value at an offset, and no value for a field that
// runs past the end of the bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "base/bytes.h"

namespace rsf {
namespace {

TEST(BytesTest, ReadsTwentyFourBitFieldsUpToTheEnd) {
  const std::uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04};
  EXPECT_EQ(ReadLE24(bytes, 0), 0x030201u);
  EXPECT_EQ(ReadBE24(bytes, 0), 0x010203u);
  EXPECT_EQ(ReadLE24(bytes, 1), 0x040302u) << "the last three bytes";
  EXPECT_EQ(ReadBE24(bytes, 1), 0x020304u) << "the last three bytes";
  EXPECT_EQ(ReadLE24(bytes, 2), std::nullopt) << "one byte past the end";
  EXPECT_EQ(ReadBE24(bytes, 2), std::nullopt) << "one byte past the end";
  EXPECT_EQ(ReadLE24(bytes, std::numeric_limits<std::size_t>::max()), std::nullopt) << "no wrap-around";
}

}  // namespace
}  // namespace rsf
