// One contract every source stream must keep: size, position, seeking past the end, plain
// reads that report what arrived and full reads that raise the stream read error.
#include <gtest/gtest.h>

#include <memory>

#include "base/errors.h"
#include "stream/file_stream.h"
#include "stream/memory_stream.h"
#include "support/scan_harness.h"

namespace rsf {
namespace {

std::vector<std::uint8_t> Counting(std::size_t n) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  return bytes;
}

class SourceStreamContract : public ::testing::TestWithParam<const char*> {
 protected:
  std::unique_ptr<SourceStream> Make(const std::vector<std::uint8_t>& bytes) {
    if (std::string(GetParam()) == "memory") return std::make_unique<MemoryStream>(bytes);
    return std::make_unique<FileStream>(dir_.Write("source.bin", bytes));
  }
  test::TempDir dir_;
};

TEST_P(SourceStreamContract, SizePositionAndSeeking) {
  auto stream = Make(Counting(300));
  EXPECT_EQ(stream->Size(), 300);
  EXPECT_EQ(stream->Position(), 0);
  EXPECT_EQ(stream->Seek(250), 250);
  EXPECT_EQ(stream->Seek(10, kFromCurrent), 260);
  EXPECT_EQ(stream->Seek(0, kFromEnd), 300);
  EXPECT_EQ(stream->Seek(5000), 5000) << "seeking past the end is allowed";
  EXPECT_EQ(stream->Seek(1, 7), -1) << "unknown origin";
  EXPECT_EQ(stream->Position(), 5000) << "a refused seek moves nothing";
}

TEST_P(SourceStreamContract, PlainReadReportsWhatArrivedFullReadRaises) {
  auto stream = Make(Counting(300));
  std::uint8_t buffer[64] = {};
  stream->Seek(290);
  EXPECT_EQ(stream->Read(buffer, 64), 10);
  EXPECT_EQ(buffer[0], 290 % 256);
  EXPECT_EQ(stream->Position(), 300);
  EXPECT_EQ(stream->Read(buffer, 64), 0) << "at the end nothing arrives and nothing is raised";
  stream->Seek(1000);
  EXPECT_EQ(stream->Read(buffer, 4), 0);

  stream->Seek(100);
  stream->ReadBuffer(buffer, 64);
  EXPECT_EQ(buffer[63], 163);
  stream->Seek(280);
  try {
    stream->ReadBuffer(buffer, 64);
    FAIL() << "short full read must raise";
  } catch (const StreamReadError& e) {
    EXPECT_STREQ(e.what(), "数据流读取错误");
  }
}

INSTANTIATE_TEST_SUITE_P(AllStreams, SourceStreamContract, ::testing::Values("memory", "file"));

TEST(FileStreamTest, MissingFileAndFolderAreOpenErrors) {
  test::TempDir dir;
  EXPECT_THROW(FileStream(dir.File("missing.bin")), FileOpenError);
  EXPECT_THROW(FileStream(dir.path()), FileOpenError);
  EXPECT_THROW(FileStream(""), FileOpenError);
}

}  // namespace
}  // namespace rsf
