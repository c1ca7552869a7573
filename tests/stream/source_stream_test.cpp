// The stream contract over the memory and file streams, and what only files do.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace rsf
