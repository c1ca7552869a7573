// TNTCDStream and its device operations on a regular file standing in for a drive's volume:
// the size, the sectors read, the end of the volume, seeking and failed reads.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "cd/ntcdstream.h"
#include "fake_aspi.h"
#include "support/scan_harness.h"

namespace rsf {
namespace {

std::vector<std::uint8_t> VolumeBytes(std::int64_t size) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  for (std::int64_t i = 0; i < size; ++i) bytes[static_cast<std::size_t>(i)] = test::DiscByte(i);
  return bytes;
}

class NtCdStreamTest : public ::testing::Test {
 protected:
  std::string Volume(std::int64_t size) {
    return dir_.Write("volume" + std::to_string(size) + ".iso", VolumeBytes(size));
  }
  test::TempDir dir_;
};

TEST_F(NtCdStreamTest, SizeIsTheVolumeSize) {
  EXPECT_EQ(TNTCDStream(Volume(20 * 2048)).Size(), 20 * 2048);
  EXPECT_EQ(NtVolumeSize(dir_.File("missing")), -1) << "no such drive";
  EXPECT_EQ(TNTCDStream("").Size(), -1);
  EXPECT_EQ(TNTCDStream(dir_.path()).Size(), -1) << "a folder is no volume";
  EXPECT_EQ(TNTCDStream(Volume(0)).Size(), 0);
}

TEST_F(NtCdStreamTest, ReadsReturnTheVolumeBytes) {
  const std::string volume = Volume(20 * 2048);
  TNTCDStream stream(volume);
  EXPECT_EQ(stream.Drive(), volume);
  const auto expected = VolumeBytes(20 * 2048);
  for (const auto& [position, count] : std::vector<std::pair<std::int64_t, std::int64_t>>{
           {4096, 100}, {0, 2048}, {2047, 2}, {100, 10}, {0, 20 * 2048}, {18 * 2048, 4096}, {20 * 2048 - 1, 1}}) {
    stream.Seek(position, kFromBeginning);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    ASSERT_EQ(stream.Read(bytes.data(), count), count) << position;
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.begin() + position)) << position;
    EXPECT_EQ(stream.Position(), position + count);
  }
}

TEST_F(NtCdStreamTest, NtReadSectorsReadsWholeSectorsAtTheirOffset) {
  const std::string volume = Volume(10 * 2048);
  std::vector<std::uint8_t> sectors(2 * 2048);
  ASSERT_EQ(NtReadSectors(volume, 2, sectors.data(), 2), 0);
  const auto expected = VolumeBytes(10 * 2048);
  EXPECT_EQ(sectors, std::vector<std::uint8_t>(expected.begin() + 4096, expected.begin() + 8192));
  EXPECT_EQ(NtReadSectors(dir_.File("missing"), 0, sectors.data(), 1), 1);
  EXPECT_EQ(NtReadSectors(volume, 10, sectors.data(), 1), 1) << "nothing at all beyond the end";
}

TEST_F(NtCdStreamTest, TheStreamEndsWhereTheVolumeEnds) {
  // A volume whose last sector is partial (an image file of any length): every byte up to the
  // end reads, nothing beyond it does.
  const std::int64_t size = 5 * 2048 + 700;
  TNTCDStream stream(Volume(size));
  ASSERT_EQ(stream.Size(), size);
  stream.Seek(size - 1000, kFromBeginning);
  std::vector<std::uint8_t> bytes(1000);
  ASSERT_EQ(stream.Read(bytes.data(), 1000), 1000);
  const auto expected = VolumeBytes(size);
  EXPECT_EQ(bytes, std::vector<std::uint8_t>(expected.end() - 1000, expected.end()));
  stream.Seek(size - 10, kFromBeginning);
  EXPECT_EQ(stream.Read(bytes.data(), 11), -1);
  EXPECT_EQ(stream.Position(), size - 10);
  stream.Seek(size, kFromBeginning);
  EXPECT_EQ(stream.Read(bytes.data(), 1), -1);
}

TEST_F(NtCdStreamTest, FailedReadLeavesThePosition) {
  const std::string volume = Volume(8 * 2048);
  TNTCDStream stream(volume);
  stream.Seek(3000, kFromBeginning);
  std::filesystem::remove(volume);  // the disc is taken out
  std::vector<std::uint8_t> bytes(100);
  EXPECT_EQ(stream.Read(bytes.data(), 100), -1);
  EXPECT_EQ(stream.Position(), 3000);
  EXPECT_THROW(stream.ReadBuffer(bytes.data(), 100), StreamReadError);
  EXPECT_EQ(stream.Size(), 8 * 2048) << "the size stays what it was";

  TNTCDStream empty(dir_.File("missing"));
  EXPECT_EQ(empty.Read(bytes.data(), 100), -1);
  EXPECT_EQ(empty.Position(), 0);
  empty.Seek(-5, kFromBeginning);
  EXPECT_EQ(empty.Write(bytes.data(), 1), -1);
}

TEST_F(NtCdStreamTest, SeekOrigins) {
  TNTCDStream stream(Volume(3 * 2048));
  EXPECT_EQ(stream.Seek(0, kFromEnd), 3 * 2048);
  EXPECT_EQ(stream.Seek(48, kFromEnd), 3 * 2048 - 48);
  EXPECT_EQ(stream.Seek(8, kFromCurrent), 3 * 2048 - 40);
  EXPECT_EQ(stream.Seek(7, 9), -1);
  EXPECT_EQ(stream.Position(), 3 * 2048 - 40);
  EXPECT_EQ(stream.Seek(-10, kFromBeginning), -10);
  std::uint8_t byte;
  EXPECT_EQ(stream.Read(&byte, 1), -1);
}

}  // namespace
}  // namespace rsf
