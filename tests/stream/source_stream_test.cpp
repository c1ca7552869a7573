// The stream contract over the memory and file streams, and what only files do.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "base/errors.h"
#include "stream/file_stream.h"
#include "stream/memory_stream.h"
#include "support/scan_harness.h"
#include "support/stream_contract.h"

namespace rsf {
namespace {

using test::StreamFlavour;

std::uint8_t Counting(std::int64_t n) { return static_cast<std::uint8_t>(n * 7 + n / 256); }

std::vector<std::uint8_t> CountingBytes(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = Counting(static_cast<std::int64_t>(i));
  return bytes;
}

}  // namespace
}  // namespace rsf

namespace rsf::test {

INSTANTIATE_TEST_SUITE_P(
    FileAndMemory, SourceStreamContract,
    ::testing::Values(StreamFlavour{"memory",
                                    [](std::shared_ptr<void>&) { return std::make_unique<MemoryStream>(CountingBytes(10000)); },
                                    Counting},
                      StreamFlavour{"file",
                                    [](std::shared_ptr<void>& keep) {
                                      auto dir = std::make_shared<TempDir>();
                                      keep = dir;
                                      return std::make_unique<FileStream>(dir->Write("source.bin", CountingBytes(10000)));
                                    },
                                    Counting}),
    [](const ::testing::TestParamInfo<StreamFlavour>& info) { return info.param.name; });

}  // namespace rsf::test

namespace rsf {
namespace {

TEST(FileStreamTest, MissingFileAndFolderAreOpenErrors) {
  test::TempDir dir;
  EXPECT_THROW(FileStream(dir.File("missing.bin")), FileOpenError);
  EXPECT_THROW(FileStream(dir.path()), FileOpenError);
  EXPECT_THROW(FileStream(""), FileOpenError);
}

// Windows looked at in place are the file's bytes wherever they fall (across the mapped
// stretches too); once the file has shrunk, what it lost is never handed out, and pages taken
// before the shrinking read as zeros instead of ending the program.
TEST(FileStreamTest, BytesInPlaceAreTheFilesAndSurviveItsShrinking) {
  test::TempDir dir;
  const std::size_t size = (std::size_t{9} << 20) / 2;
  const std::string path = dir.Write("source.bin", CountingBytes(size));
  FileStream stream(path);
  const std::int64_t count = 63488;
  std::vector<std::uint8_t> read(count);
  std::optional<SourceStream::InPlace> kept;
  for (const std::int64_t offset : {std::int64_t{0}, std::int64_t{4 << 20} - 100, std::int64_t{4 << 20} + 300000,
                                     std::int64_t{1 << 20}, static_cast<std::int64_t>(size) - count}) {
    const std::optional<SourceStream::InPlace> in_place = stream.BytesInPlace(offset, count);
#ifdef _WIN32
    EXPECT_FALSE(in_place) << "Windows reads its sources";
    return;
#endif
    ASSERT_TRUE(in_place) << offset;
    ASSERT_EQ(stream.ReadAt(offset, read.data(), count), count);
    EXPECT_TRUE(std::equal(read.begin(), read.end(), in_place->bytes.begin(), in_place->bytes.end())) << offset;
    if (offset == std::int64_t{4 << 20} + 300000) kept = in_place;
  }
  EXPECT_FALSE(stream.BytesInPlace(static_cast<std::int64_t>(size) - 10, count)) << "past the end";

  std::filesystem::resize_file(path, std::uintmax_t{1} << 20);
  EXPECT_FALSE(stream.BytesInPlace(std::int64_t{2} << 20, count)) << "what the file lost";
  ASSERT_TRUE(kept);
  EXPECT_EQ(std::count(kept->bytes.begin(), kept->bytes.end(), 0), count) << "no bus error: zeros";
}

}  // namespace
}  // namespace rsf
