// Bink clips: the doubled frame count, the size from the header, and headers cut by the window
// or the source end.
#include <gtest/gtest.h>

#include "scan/catalogue/clip_types.h"
#include "support/scan_harness.h"
#include "synth/bink_synth.h"

namespace rsf {
namespace {

using synth::BinkFields;
using synth::BinkFile;
using synth::ByteVector;
using test::OnlyTypes;
using test::PlaceAt;
using test::ScanBytes;
using test::Span;
using test::Spans;

const ScanOptions kBink = OnlyTypes({ClipKind::kBIK});

TEST(FindBIKClipsTest, TenThousandByteFileAtOffsetZero) {
  const ByteVector bink = BinkFile({.frames = 4, .frame_bytes = 2484});
  ASSERT_EQ(bink.size(), 10000u);
  const auto result = ScanBytes(PlaceAt(30000, 0, bink), kBink);
  EXPECT_EQ(Spans(result.catalogue), (std::vector<Span>{{0, 10000}}));
  ASSERT_EQ(result.list_lines.size(), 1u);
  EXPECT_EQ(result.list_lines[0], "文件 #1\tBink 视频\t9 KByte");
  EXPECT_EQ(result.catalogue[0].Extension, ".bik");
  EXPECT_EQ(result.catalogue[0].InfoText, "");
}

TEST(FindBIKClipsTest, DifferingFrameCountsAreNotABinkHeader) {
  const ByteVector bink = BinkFile({.frames = 4, .second_frame_count = 5});
  EXPECT_TRUE(ScanBytes(PlaceAt(5000, 100, bink), kBink).catalogue.empty());
}

TEST(FindBIKClipsTest, HeaderCutByTheWindowEndIsJudgedWholeInTheNextWindow) {
  // "BIK" 8 bytes before the first window's end: both frame counts and part of the length lie
  // beyond it, so only the second window, which holds the whole header, may decide.
  const std::size_t at = 63488 - 8;
  const ByteVector valid = BinkFile({.frames = 3, .frame_bytes = 100});
  // Also one wholly inside the 40 bytes both windows hold: listed once.
  for (const std::int64_t start : {std::int64_t{63480}, std::int64_t{63450}}) {
    const auto found = ScanBytes(PlaceAt(100000, static_cast<std::size_t>(start), valid), kBink);
    EXPECT_EQ(Spans(found.catalogue), (std::vector<Span>{{start, start + static_cast<std::int64_t>(valid.size())}}));
  }

  const ByteVector differing = BinkFile({.frames = 3, .frame_bytes = 100, .second_frame_count = 7});
  EXPECT_TRUE(ScanBytes(PlaceAt(100000, at, differing), kBink).catalogue.empty());
  // The same cut at the source end: nothing behind the header to decide with.
  const ByteVector stub(valid.begin(), valid.begin() + 8);
  EXPECT_TRUE(ScanBytes(PlaceAt(63488, at, stub), kBink).catalogue.empty());
}

TEST(FindBIKClipsTest, ClipsRunningPastTheSourceEndArePassedOver) {
  const ByteVector bink = BinkFile({.frames = 2, .frame_bytes = 1000});
  const ByteVector cut(bink.begin(), bink.end() - 1);
  EXPECT_TRUE(ScanBytes(PlaceAt(8000, 8000 - cut.size(), cut), kBink).catalogue.empty());
  const auto exact = ScanBytes(PlaceAt(8000, 8000 - bink.size(), bink), kBink);
  EXPECT_EQ(Spans(exact.catalogue),
            (std::vector<Span>{{static_cast<std::int64_t>(8000 - bink.size()), 8000}}));
  // A length field near 4 GiB must not wrap into a small size.
  ByteVector huge = bink;
  huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
  EXPECT_TRUE(ScanBytes(PlaceAt(8000, 0, huge), kBink).catalogue.empty());
}

}  // namespace
}  // namespace rsf
