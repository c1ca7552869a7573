// Smacker clips: the size from header, tables and frame sizes with their flag bits masked, the
// header tests, and walks that meet the source end.
#include <gtest/gtest.h>

#include <chrono>

#include "scan/catalogue/clip_types.h"
#include "support/scan_harness.h"
#include "synth/smacker_synth.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::SmackerFile;
using test::OnlyTypes;
using test::PlaceAt;
using test::ScanBytes;
using test::Span;
using test::Spans;

const ScanOptions kSmacker = OnlyTypes({ClipKind::kSMK});

TEST(FindSmackerClipsTest, SizeIsHeaderTablesTreesAndMaskedFrameSizes) {
  // Two frames of 1,000 and 1,200 bytes, stored with flag bits set; 3,000 bytes of trees.
  const ByteVector smacker = SmackerFile({.frame_rate = -6667, .frame_sizes = {1001, 1202}, .trees_size = 3000});
  ASSERT_EQ(smacker.size(), 5314u);
  ASSERT_EQ(smacker[18], 0xFF);
  ASSERT_EQ(smacker[19], 0xFF);

  test::RecordingObserver observer;
  ScanEngine engine(observer);
  engine.StartAnalysis([&] { return std::make_unique<MemoryStream>(PlaceAt(20000, 700, smacker)); }, kSmacker);
  EXPECT_EQ(Spans(engine.Catalogue()), (std::vector<Span>{{700, 700 + 5314}}));
  ASSERT_EQ(observer.list_lines.size(), 1u);
  EXPECT_EQ(observer.list_lines[0], "文件 #1\tSmacker 视频\t5 KByte");
  EXPECT_EQ(engine.Catalogue()[0].Extension, ".smk");
  ASSERT_FALSE(observer.statuses.empty());
  EXPECT_EQ(observer.statuses[0].panel, kStatusPanelActivity);
  EXPECT_EQ(observer.statuses[0].text, "找到 Smacker 头部 - 正在计算大小...");
  EXPECT_GE(observer.repaints, 1);
}

TEST(FindSmackerClipsTest, VersionByteAndFrameRateSign) {
  ByteVector source(30000, 0);
  const auto put = [&](std::size_t at, const ByteVector& clip) { std::copy(clip.begin(), clip.end(), source.begin() + at); };
  put(0, SmackerFile({.version = '3'}));
  put(5000, SmackerFile({.frame_rate = 66}));  // positive: milliseconds per frame
  put(10000, SmackerFile({.frame_rate = -100000}));  // FE FF in bytes 18 and 19
  const ByteVector four = SmackerFile({.version = '4', .frame_sizes = {400}});
  put(20000, four);
  EXPECT_EQ(Spans(ScanBytes(source, kSmacker).catalogue),
            (std::vector<Span>{{20000, 20000 + static_cast<std::int64_t>(four.size())}}));
}

TEST(FindSmackerClipsTest, FrameCountsOfZeroOrLessCountNoFrames) {
  for (const std::int32_t count : {0, -1, -2000000000}) {
    const ByteVector smacker = SmackerFile({.frame_sizes = {1000, 1000}, .stored_frame_count = count, .trees_size = 40});
    const auto result = ScanBytes(PlaceAt(10000, 100, smacker), kSmacker);
    EXPECT_EQ(Spans(result.catalogue), (std::vector<Span>{{100, 100 + 104 + 40}})) << count;
  }
}

TEST(FindSmackerClipsTest, WalksThatMeetTheSourceEndStopThere) {
  // A frame count near 2^31 in a small source: the table is read only as far as it goes.
  const ByteVector huge = SmackerFile({.frame_sizes = {1000, 1000}, .stored_frame_count = 0x7FFFFFFF});
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(Spans(ScanBytes(PlaceAt(50000, 100, huge), kSmacker).catalogue), (std::vector<Span>{{100, 50000}}));
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));

  // A file cut inside its frame-size table, and one whose frames go on past the source end.
  const ByteVector smacker = SmackerFile({.frame_sizes = {800, 800, 800, 800}});
  EXPECT_EQ(Spans(ScanBytes(ByteVector(smacker.begin(), smacker.begin() + 110), kSmacker).catalogue),
            (std::vector<Span>{{0, 110}}));
  EXPECT_EQ(Spans(ScanBytes(ByteVector(smacker.begin(), smacker.end() - 1), kSmacker).catalogue),
            (std::vector<Span>{{0, static_cast<std::int64_t>(smacker.size()) - 1}}));
}

}  // namespace
}  // namespace rsf
