// TCDStream over a stand-in ASPI library, and the sector arithmetic both CD streams share:
// which sectors a read asks for, the size from READ CAPACITY, seeking, failed reads, and reads
// too long for one request; and the stream contract over both CD streams and disc images.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "cd/BasicASPI.h"
#include "cd/ntcdstream.h"
#include "cd/sector_reads.h"
#include "fake_aspi.h"
#include "raw_images.h"
#include "support/scan_harness.h"
#include "support/stream_contract.h"

namespace rsf {
namespace {

using test::FakeAspiLibrary;

std::vector<std::uint8_t> DiscBytes(std::int64_t start, std::int64_t count) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) bytes[static_cast<std::size_t>(i)] = test::DiscByte(start + i);
  return bytes;
}

class CdStreamTest : public ::testing::Test {
 protected:
  CdStreamTest() { library_.AddDrive(0, 1); }

  // The READ(10) requests sent since the stream was made (after its probe).
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ReadsSince(std::size_t first) const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> reads;
    for (std::size_t i = first; i < library_.sent.size(); ++i)
      if (library_.sent[i].cdb[0] == aspi::kScsiRead10) reads.push_back(test::ReadSpan(library_.sent[i]));
    return reads;
  }

  FakeAspiLibrary library_;
};

TEST_F(CdStreamTest, ProbesBlockSixteenThenAsksTheCapacity) {
  TCDStream stream(0, 1, 0);
  EXPECT_EQ(stream.Size(), 681830400) << "332927 × 2048 − 4096";
  EXPECT_EQ(stream.Position(), 0);
  ASSERT_EQ(library_.sent.size(), 3u);
  EXPECT_EQ(test::ReadSpan(library_.sent[0]), std::make_pair(16u, 1u));
  EXPECT_EQ(library_.sent[1].cdb[0], 0x25);  // block length first
  EXPECT_EQ(library_.sent[2].cdb[0], 0x25);  // then the last block
  EXPECT_EQ(library_.waits, (std::vector<std::uint32_t>{25000, 1000, 3000}));
}

TEST_F(CdStreamTest, MissingOrUnreadableDiscGivesNegativeSize) {
  library_.drives[{0, 1}].has_disc = false;
  EXPECT_EQ(TCDStream(0, 1, 0).Size(), -1);
  EXPECT_EQ(library_.sent.size(), 1u) << "no capacity request after a failed probe";

  library_.drives[{0, 1}].has_disc = true;
  library_.drives[{0, 1}].bad_blocks = {16};
  EXPECT_EQ(TCDStream(0, 1, 0).Size(), -1);
  EXPECT_EQ(TCDStream(0, 2, 0).Size(), -1) << "no device there";

  // Block 16 readable but READ CAPACITY failing: both values 0.
  library_.drives[{0, 1}].bad_blocks.clear();
  library_.drives[{0, 1}].capacity = {0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(TCDStream(0, 1, 0).Size(), -4096);
}

TEST_F(CdStreamTest, ReadsAskForTheSectorsOfTheirBytes) {
  TCDStream stream(0, 1, 0);
  const std::size_t probe = library_.sent.size();
  struct Case {
    std::int64_t position, count;
    std::pair<std::uint32_t, std::uint32_t> sectors;
  };
  // A read ending on a sector boundary asks for the sector after it as well.
  for (const Case& c : {Case{0, 2048, {0, 2}}, Case{100, 10, {0, 1}}, Case{2047, 2, {0, 2}}, Case{4096, 100, {2, 1}},
                        Case{4000, 61440, {1, 31}}, Case{2048, 2047, {1, 1}}}) {
    stream.Seek(c.position, kFromBeginning);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(c.count));
    ASSERT_EQ(stream.Read(bytes.data(), c.count), c.count) << c.position;
    EXPECT_EQ(bytes, DiscBytes(c.position, c.count)) << c.position;
    EXPECT_EQ(stream.Position(), c.position + c.count);
    const auto reads = ReadsSince(library_.sent.size() - 1);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0], c.sectors) << c.position << "+" << c.count;
  }
  EXPECT_EQ(library_.sent.size(), probe + 6) << "one request per read";
}

TEST_F(CdStreamTest, FailedReadLeavesThePositionAndFullReadRaises) {
  TCDStream stream(0, 1, 0);
  library_.drives[{0, 1}].bad_blocks = {3};
  stream.Seek(5000, kFromBeginning);
  std::vector<std::uint8_t> bytes(3000);
  EXPECT_EQ(stream.Read(bytes.data(), 3000), -1);
  EXPECT_EQ(stream.Position(), 5000);
  EXPECT_THROW(stream.ReadBuffer(bytes.data(), 3000), StreamReadError);
  EXPECT_EQ(stream.Position(), 5000);
  EXPECT_EQ(stream.Read(bytes.data(), 1000), 1000) << "the bytes before the bad sector still read";
  EXPECT_EQ(stream.Position(), 6000);

  library_.answer = test::FakeAnswer::kPendingSilent;
  EXPECT_EQ(stream.Read(bytes.data(), 10), -1) << "limit passed";
  EXPECT_EQ(stream.Position(), 6000);
  library_.CompleteHeldRequests();

  stream.Seek(-10, kFromBeginning);
  EXPECT_EQ(stream.Read(bytes.data(), 10), -1) << "nothing lies before the disc";
  EXPECT_EQ(stream.Read(bytes.data(), 0), 0);
  EXPECT_EQ(stream.Write(bytes.data(), 10), -1);
}

TEST_F(CdStreamTest, SeekOrigins) {
  TCDStream stream(0, 1, 0);
  EXPECT_EQ(stream.Seek(0, kFromEnd), 681830400);
  EXPECT_EQ(stream.Seek(10, kFromEnd), 681830390) << "a positive offset counts back from the end";
  EXPECT_EQ(stream.Seek(100, kFromBeginning), 100);
  EXPECT_EQ(stream.Seek(-30, kFromCurrent), 70);
  EXPECT_EQ(stream.Seek(5, 3), -1);
  EXPECT_EQ(stream.Seek(5, -1), -1);
  EXPECT_EQ(stream.Position(), 70);
  EXPECT_EQ(stream.Seek(-10, kFromBeginning), -10) << "not checked";
  EXPECT_EQ(stream.Seek(700000000, kFromBeginning), 700000000) << "beyond the end, not checked";
}

TEST_F(CdStreamTest, ReadsBeyondTheSizeGoToTheDrive) {
  library_.drives[{0, 1}].capacity = {0, 0, 0, 40, 0, 0, 8, 0};  // 41 blocks: size 40 × 2048 − 4096
  TCDStream stream(0, 1, 0);
  ASSERT_EQ(stream.Size(), 38 * 2048);
  stream.Seek(stream.Size(), kFromBeginning);
  std::vector<std::uint8_t> bytes(4096);
  EXPECT_EQ(stream.Read(bytes.data(), 4096), 4096);
  EXPECT_EQ(bytes, DiscBytes(38 * 2048, 4096));
}

TEST(CdSectorReadsTest, SpansOfByteRanges) {
  struct Case {
    std::int64_t position, count, first, sectors, offset;
  };
  for (const Case& c : {Case{0, 2048, 0, 2, 0}, Case{100, 10, 0, 1, 100}, Case{2047, 2, 0, 2, 2047},
                        Case{4096, 100, 2, 1, 0}, Case{2048, 1, 1, 1, 0}, Case{6143, 1, 2, 2, 2047}}) {
    const SectorSpan span = SpanOfBytes(c.position, c.count);
    EXPECT_EQ(span.first, c.first) << c.position;
    EXPECT_EQ(span.count, c.sectors) << c.position;
    EXPECT_EQ(span.offset, c.offset) << c.position;
  }
}

TEST(CdSectorReadsTest, TrimmedAtTheMediumEndButNeverBelowTheBytesAsked) {
  std::vector<std::pair<std::int64_t, int>> requests;
  auto reader = [&](std::int64_t first, std::uint16_t count, std::uint8_t* into) {
    requests.emplace_back(first, count);
    for (int i = 0; i < count * 2048; ++i) into[i] = test::DiscByte(first * 2048 + i);
    return true;
  };
  std::vector<std::uint8_t> bytes(4096);
  // A 10-sector medium: the read of its last 4096 bytes ends on its end.
  ASSERT_TRUE(ReadBytesThroughSectors(8 * 2048, 4096, bytes.data(), 10, reader));
  EXPECT_EQ(requests.back(), std::make_pair(std::int64_t{8}, 2));
  EXPECT_EQ(bytes, DiscBytes(8 * 2048, 4096));
  ASSERT_TRUE(ReadBytesThroughSectors(8 * 2048, 4096, bytes.data(), -1, reader));
  EXPECT_EQ(requests.back(), std::make_pair(std::int64_t{8}, 3)) << "untrimmed: the extra sector";
  ASSERT_TRUE(ReadBytesThroughSectors(2 * 2048, 2048, bytes.data(), 10, reader));
  EXPECT_EQ(requests.back(), std::make_pair(std::int64_t{2}, 2)) << "inside the medium nothing is trimmed";
  ASSERT_TRUE(ReadBytesThroughSectors(9 * 2048, 100, bytes.data(), 9, reader));
  EXPECT_EQ(requests.back(), std::make_pair(std::int64_t{9}, 1)) << "the bytes' own sector is always asked for";

  EXPECT_FALSE(ReadBytesThroughSectors(-1, 10, bytes.data(), -1, reader));
  EXPECT_FALSE(ReadBytesThroughSectors(0, 0, bytes.data(), -1, reader));
}

TEST(CdSectorReadsTest, ReadsOfMoreThan65535SectorsAreSplit) {
  std::vector<std::pair<std::int64_t, int>> requests;
  auto reader = [&](std::int64_t first, std::uint16_t count, std::uint8_t* into) {
    requests.emplace_back(first, count);
    into[0] = static_cast<std::uint8_t>(first);
    into[count * 2048 - 1] = static_cast<std::uint8_t>(first + count);
    return true;
  };
  // 65,536 sectors from sector 3 on, the extra sector of the boundary included.
  const std::int64_t count = 65535 * 2048;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  ASSERT_TRUE(ReadBytesThroughSectors(3 * 2048, count, bytes.data(), -1, reader));
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], std::make_pair(std::int64_t{3}, 65535));
  EXPECT_EQ(requests[1], std::make_pair(std::int64_t{3 + 65535}, 1));
  EXPECT_EQ(bytes.front(), 3);
  EXPECT_EQ(bytes.back(), static_cast<std::uint8_t>(3 + 65535));

  int calls = 0;
  EXPECT_FALSE(ReadBytesThroughSectors(0, count, bytes.data(), -1,
                                       [&](std::int64_t, std::uint16_t, std::uint8_t*) { return ++calls == 1; }))
      << "any failing piece fails the read";
}

}  // namespace
}  // namespace rsf

namespace rsf::test {

// The stream contract over both CD streams: the ASPI stream on a stand-in drive of 41 blocks,
// the raw-volume stream on an image file. Both count a seek from the end backwards; the raw
// volume fails a read over its end whole, the ASPI stream reads on behind the size the drive
// reported.
INSTANTIATE_TEST_SUITE_P(
    CdStreams, SourceStreamContract,
    ::testing::Values(
        StreamFlavour{"aspi",
                      [](std::shared_ptr<void>& keep) -> std::unique_ptr<SourceStream> {
                        auto library = std::make_shared<FakeAspiLibrary>();
                        library->AddDrive(0, 1).capacity = {0, 0, 0, 40, 0, 0, 8, 0};
                        keep = library;
                        return std::make_unique<TCDStream>(0, 1, 0);
                      },
                      DiscByte, StreamFlavour::PastTheEnd::kReadsOn, true},
        StreamFlavour{"raw_volume",
                      [](std::shared_ptr<void>& keep) -> std::unique_ptr<SourceStream> {
                        auto dir = std::make_shared<TempDir>();
                        keep = dir;
                        std::vector<std::uint8_t> volume(5 * 2048 + 700);
                        for (std::size_t i = 0; i < volume.size(); ++i) volume[i] = DiscByte(static_cast<std::int64_t>(i));
                        return std::make_unique<TNTCDStream>(dir->Write("volume.iso", volume));
                      },
                      DiscByte, StreamFlavour::PastTheEnd::kFails, true},
        // Disc images through their sheets, of each data layout.
        StreamFlavour{"raw_image_mode1_2352", [](std::shared_ptr<void>& keep) { return MixedImage(keep, false); }, Counting},
        StreamFlavour{"raw_image_mode2_2352", [](std::shared_ptr<void>& keep) { return MixedImage(keep, true); }, Counting},
        StreamFlavour{"raw_image_mode1_2048_two_files", TwoCookedTracks, Counting}),
    [](const ::testing::TestParamInfo<StreamFlavour>& info) { return info.param.name; });

}  // namespace rsf::test
