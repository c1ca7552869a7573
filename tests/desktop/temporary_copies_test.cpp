// The temporary copies' names, their deletion, and the program run's private temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "base/errors.h"
#include "desktop/temporary_copies.h"
#include "desktop/temporary_folder.h"
#include "platform/temporary_folder.h"
#include "support/scan_harness.h"
#include "support/scoped_variable.h"

namespace rsf::desktop {
namespace {

TEST(TemporaryCopyNames, AreFolderStemFourUpperCaseHexDigitsAndExtension) {
  EXPECT_EQ(TemporaryClipName("/tmp/", 0x0A3F, ".avi"), "/tmp/RSFtmp0A3F.avi");
  EXPECT_EQ(TemporaryClipName("/var/tmp/", 0, ".wav"), "/var/tmp/RSFtmp0000.wav");
  EXPECT_EQ(TemporaryClipName("/tmp/", 65534, ".jpg"), "/tmp/RSFtmpFFFE.jpg");
  std::set<int> drawn;
  for (int i = 0; i < 200; ++i) {
    const int number = RandomCopyNumber();
    ASSERT_GE(number, 0);
    ASSERT_LE(number, 65534);
    drawn.insert(number);
  }
  EXPECT_GT(drawn.size(), 150u) << "draws in quick succession differ";
}

#ifndef _WIN32
using rsf::test::ScopedVariable;

// The copies go to a folder of the program run's own inside TMPDIR, entered by the user
// alone and removed at the end once it is empty.
TEST(PlatformTemporaryFolder, IsAPrivateFolderInTmpdirRemovedAtTheEnd) {
  rsf::test::TempDir dir;
  {
    const ScopedVariable tmpdir("TMPDIR", dir.path());
    EXPECT_EQ(platform::TemporaryFolder(), dir.path() + "/");
    PlatformTemporaryFolder folder;
    const std::string path = folder.Path();
    EXPECT_EQ(path.rfind(dir.path() + "/rsf-extractor-", 0), 0u) << path;
    EXPECT_EQ(path.back(), '/');
    EXPECT_EQ(folder.Path(), path) << "one folder for the whole run";
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    const auto available = static_cast<std::int64_t>(std::filesystem::space(dir.path()).available);
    EXPECT_NEAR(static_cast<double>(folder.FreeBytes()), static_cast<double>(available), 64.0 * 1024 * 1024);
    rsf::test::WriteWholeFile(path + "RSFtmp0001.wav", {1});
    folder.Release();
    EXPECT_TRUE(std::filesystem::exists(path)) << "a copy that could not be deleted keeps its folder";
    std::filesystem::remove(path + "RSFtmp0001.wav");
    folder.Release();
    EXPECT_FALSE(std::filesystem::exists(path));
  }
  {
    const ScopedVariable tmpdir("TMPDIR", dir.File("gone/"));
    EXPECT_EQ(platform::TemporaryFolder(), dir.File("gone/"));
    EXPECT_EQ(platform::FreeDiskSpace(dir.File("gone/")), -1);
    EXPECT_THROW(PlatformTemporaryFolder().FreeBytes(), Error);
    EXPECT_THROW(PlatformTemporaryFolder().Path(), Error);
  }
  const ScopedVariable tmpdir("TMPDIR", "");
  EXPECT_EQ(platform::TemporaryFolder(), "/tmp/");
}
#endif

TEST(PlatformFileDeleter, DeletesFilesAndCountsAMissingFileAsDeleted) {
  rsf::test::TempDir folder;
  const std::string copy = folder.File("RSFtmp1234.avi");
  rsf::test::WriteWholeFile(copy, {1, 2, 3});
  PlatformFileDeleter deleter;
  EXPECT_TRUE(deleter.Exists(copy));
  EXPECT_TRUE(deleter.Delete(copy));
  EXPECT_FALSE(deleter.Exists(copy));
  EXPECT_TRUE(deleter.Delete(copy));
  // A non-empty folder in the way is not deleted.
  std::filesystem::create_directory(folder.File("busy"));
  rsf::test::WriteWholeFile(folder.File("busy/inner"), {1});
  EXPECT_FALSE(deleter.Delete(folder.File("busy")));
}

}  // namespace
}  // namespace rsf::desktop
