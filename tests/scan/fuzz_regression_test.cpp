// Every input a fuzz target found to crash the program, rebuilt in code, with what must happen
// instead. The source streams (files, memory, both CD streams) share the seek and sector-read
// arithmetic, so their regressions live here with the scan's.
#include <gtest/gtest.h>

#include <limits>

#include "cd/BasicASPI.h"
#include "cd/fake_aspi.h"
#include "cd/sector_reads.h"
#include "stream/memory_stream.h"
#include "support/scan_harness.h"
#include "synth/tracker_synth.h"

namespace rsf {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

// cd_stream_fuzzer: a drive answering READ CAPACITY with a last block of 3,816,534,640 and a
// block length of 4,040,583,972: their product overflowed the signed 64-bit size.
TEST(FuzzRegression, CdCapacityBeyondTheStreamRange) {
  test::FakeAspiLibrary library;
  test::FakeDrive& drive = library.AddDrive(0, 1);
  drive.capacity = {0xE3, 0x7B, 0xB2, 0x70, 0xF0, 0xD6, 0x6B, 0x24};
  EXPECT_EQ(TCDStream(0, 1, 0).Size(), -1) << "no disc a stream can address";
  drive.capacity = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(TCDStream(0, 1, 0).Size(), -1);
  // The largest capacity that fits still gives its size.
  drive.capacity = {0x7F, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0x00};
  EXPECT_EQ(TCDStream(0, 1, 0).Size(), std::int64_t{0x7FFFFFFF} * 2048 - 4096);
}

// cd_stream_fuzzer: a seek from the current position of 9,223,372,036,854,763,239 by 114,069
// overflowed the position. The same arithmetic is in every stream.
TEST(FuzzRegression, SeekOutsideTheOffsetRange) {
  test::FakeAspiLibrary library;
  library.AddDrive(0, 1);
  TCDStream disc(0, 1, 0);
  MemoryStream memory(std::vector<std::uint8_t>(100, 1));
  for (SourceStream* stream : std::initializer_list<SourceStream*>{&disc, &memory}) {
    ASSERT_EQ(stream->Seek(kMax - 12'568, kFromBeginning), kMax - 12'568);
    EXPECT_EQ(stream->Seek(114'069, kFromCurrent), -1) << "past the end of the range";
    EXPECT_EQ(stream->Position(), kMax - 12'568) << "nothing moved";
    EXPECT_EQ(stream->Seek(12'568, kFromCurrent), kMax) << "to its very end";
    ASSERT_EQ(stream->Seek(kMin + 5, kFromBeginning), kMin + 5);
    EXPECT_EQ(stream->Seek(-6, kFromCurrent), -1);
    EXPECT_EQ(stream->Position(), kMin + 5);
  }
  // From the end: the CD streams count a positive offset back, the others forward.
  EXPECT_EQ(disc.Seek(kMin, kFromEnd), -1);
  EXPECT_EQ(memory.Seek(kMax, kFromEnd), -1);
  EXPECT_EQ(memory.Seek(-100, kFromEnd), 0);
  EXPECT_EQ(disc.Seek(4096, kFromEnd), disc.Size() - 4096);
}

// cd_stream_fuzzer: a read whose bytes end beyond the 64-bit range (position near its end)
// overflowed the sector span; and such a read through TCDStream reached the span arithmetic.
TEST(FuzzRegression, SectorReadEndingPastTheOffsetRange) {
  std::uint8_t buffer[16] = {};
  int requests = 0;
  const SectorReader reader = [&](std::int64_t, std::uint16_t, std::uint8_t*) { return ++requests > 0; };
  EXPECT_FALSE(ReadBytesThroughSectors(kMax - 3, 16, buffer, -1, reader));
  EXPECT_FALSE(ReadBytesThroughSectors(kMax, 1, buffer, 1000, reader));
  EXPECT_EQ(requests, 0) << "no request for bytes that lie on no medium";
  EXPECT_TRUE(ReadBytesThroughSectors(kMax - 16, 16, buffer, -1, reader)) << "the last bytes of the range";

  test::FakeAspiLibrary library;
  library.AddDrive(0, 1);
  TCDStream disc(0, 1, 0);
  disc.Seek(kMax - 3);
  EXPECT_EQ(disc.Read(buffer, 16), -1);
  EXPECT_EQ(disc.Position(), kMax - 3);
}

// scan_fuzzer (a 25-minute run): the first 84 bytes of an XM module with no patterns and no
// instruments, whose header size (276, counted from offset 60) makes it 336 bytes long, placed
// across the first window boundary at 63,436 with the source ending behind them. With nothing
// to walk, the header size was never held against the source: listed from 63,436 to 63,772
// under both rule sets, and its extraction failed with a stream read error.
TEST(FuzzRegression, XmHeaderReachingPastTheSourceEnd) {
  synth::XmFields empty;
  empty.pattern_packed_sizes.clear();
  empty.instruments.clear();
  const synth::ByteVector module = synth::XmFile(empty);
  ASSERT_EQ(module.size(), 336u);
  constexpr std::size_t kStart = 63'436;
  ASSERT_LT(kStart, static_cast<std::size_t>(kWindowStep));
  for (const std::size_t kept : {std::size_t{84}, module.size()}) {
    std::vector<std::uint8_t> source(kStart, 0x20);  // the fuzzer's filler, which starts no signature
    source.insert(source.end(), module.begin(), module.begin() + static_cast<std::ptrdiff_t>(kept));
    const auto size = static_cast<std::int64_t>(source.size());
    for (const bool precise : {false, true}) {
      SCOPED_TRACE(testing::Message() << kept << " bytes kept, precise " << precise);
      ScanOptions options = ScanOptions::AllTypes();
      options.precise = precise;
      const test::ScanResult result = test::ScanBytes(source, options);
      EXPECT_EQ(result.outcome, ScanOutcome::kFinished);
      for (const TFilestruct& clip : result.catalogue) EXPECT_LE(clip.EndOffset, size) << clip.Extension;
      // Cut short it is no module; whole, the same bytes are one.
      const std::vector<test::Span> expected =
          kept < module.size() ? std::vector<test::Span>{} : std::vector<test::Span>{{std::int64_t{kStart}, size}};
      EXPECT_EQ(test::Spans(result.catalogue), expected);
    }
  }
}

}  // namespace
}  // namespace rsf
