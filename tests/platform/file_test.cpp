// The operating-system file layer, the same on every platform: reading at offsets, sizes,
// writing targets that replace what was there, and the errors for names that cannot be used.
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "base/errors.h"
#include "platform/file.h"
#include "support/scan_harness.h"

namespace rsf::platform {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

std::vector<std::uint8_t> Counting(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  return bytes;
}

TEST(FileTest, ReadsAtAnyOffsetWithoutMovingLaterReads) {
  TempDir dir;
  const auto bytes = Counting(100000);
  WriteWholeFile(dir.File("source.bin"), bytes);
  auto file = File::OpenReadShared(dir.File("source.bin"));
  EXPECT_EQ(file->Size(), 100000);

  std::vector<std::uint8_t> part(5000);
  ASSERT_EQ(file->ReadAt(70000, part.data(), 5000), 5000);
  EXPECT_TRUE(std::equal(part.begin(), part.end(), bytes.begin() + 70000));
  ASSERT_EQ(file->ReadAt(3, part.data(), 10), 10) << "an earlier offset after a later one";
  EXPECT_TRUE(std::equal(part.begin(), part.begin() + 10, bytes.begin() + 3));

  EXPECT_EQ(file->ReadAt(99990, part.data(), 5000), 10) << "a read past the end gives what there is";
  EXPECT_TRUE(std::equal(part.begin(), part.begin() + 10, bytes.begin() + 99990));
  EXPECT_EQ(file->ReadAt(100000, part.data(), 10), 0);
  EXPECT_EQ(file->ReadAt(200000, part.data(), 10), 0);
  EXPECT_EQ(file->ReadAt(-1, part.data(), 10), -1);
  EXPECT_EQ(file->ReadAt(0, part.data(), -1), -1);
  EXPECT_EQ(file->ReadAt(0, part.data(), 0), 0);
  EXPECT_TRUE(file->Close());
}

TEST(FileTest, TargetsReplaceWhatWasThereAndGrowWithEachWrite) {
  TempDir dir;
  const std::string path = dir.File("target.bin");
  WriteWholeFile(path, Counting(50000));
  auto target = File::CreateExclusive(path);
  EXPECT_EQ(target->Size(), 0) << "an existing file is emptied";
  const auto bytes = Counting(3000);
  EXPECT_EQ(target->Write(bytes.data(), 1000), 1000);
  std::vector<std::uint8_t> back(10);
  EXPECT_EQ(target->ReadAt(0, back.data(), 10), 10) << "a target can be read back";
  EXPECT_EQ(target->Write(bytes.data() + 1000, 2000), 2000) << "writing goes on at the end";
  EXPECT_EQ(target->Write(bytes.data(), 0), 0);
  EXPECT_EQ(target->Size(), 3000);
  EXPECT_TRUE(target->Close());
  EXPECT_TRUE(target->Close()) << "closing twice is harmless";
  target.reset();
  EXPECT_EQ(ReadWholeFile(path), bytes);
}

TEST(FileTest, NamesThatCannotBeOpenedOrCreatedRaiseTheUsersErrors) {
  TempDir dir;
  try {
    File::OpenReadShared(dir.File("missing.bin"));
    FAIL() << "a missing source opened";
  } catch (const FileOpenError& error) {
    EXPECT_EQ(std::string(error.what()), "不能打开文件 " + dir.File("missing.bin"));
  }
  EXPECT_THROW(File::OpenReadShared(""), FileOpenError);
  EXPECT_THROW(File::OpenReadShared(dir.path()), FileOpenError) << "a folder is no source";
  try {
    File::CreateExclusive(dir.File("no/such/folder.bin"));
    FAIL() << "a target in a missing folder was created";
  } catch (const FileCreateError& error) {
    EXPECT_EQ(std::string(error.what()), "不能创建文件 " + dir.File("no/such/folder.bin"));
  }
  EXPECT_THROW(File::CreateExclusive(""), FileCreateError);
  EXPECT_THROW(File::CreateExclusive(dir.path()), FileCreateError) << "a folder is no target";
}

TEST(FileTest, AnEmptySource) {
  TempDir dir;
  WriteWholeFile(dir.File("empty.bin"), {});
  auto file = File::OpenReadShared(dir.File("empty.bin"));
  EXPECT_EQ(file->Size(), 0);
  std::uint8_t byte = 0;
  EXPECT_EQ(file->ReadAt(0, &byte, 1), 0);
}

TEST(FileTest, TwoReadersShareASource) {
  TempDir dir;
  WriteWholeFile(dir.File("shared.bin"), Counting(100));
  auto first = File::OpenReadShared(dir.File("shared.bin"));
  auto second = File::OpenReadShared(dir.File("shared.bin"));
  std::uint8_t a = 0, b = 1;
  EXPECT_EQ(first->ReadAt(50, &a, 1), 1);
  EXPECT_EQ(second->ReadAt(50, &b, 1), 1);
  EXPECT_EQ(a, b);
}

}  // namespace
}  // namespace rsf::platform
