// The operating-system file layer, the same on every platform: reading at offsets, sizes,
// writing targets that replace what was there, the errors for names that cannot be used, and
// which folders take the user's files.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <locale.h>
#endif

#include <filesystem>
#include <numeric>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/errors.h"
#include "platform/error_text.h"
#include "platform/file.h"
#include "platform/system_info.h"
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

TEST(FileTest, NewFilesTakeOnlyFreeNamesAndGrowWithEachWrite) {
  TempDir dir;
  const std::string taken = dir.File("taken.bin");
  WriteWholeFile(taken, Counting(500));
  EXPECT_EQ(File::CreateNew(taken), nullptr) << "an existing file is never reopened";
  EXPECT_EQ(ReadWholeFile(taken), Counting(500));
#ifndef _WIN32
  // Links planted under a name, to a file of the user's and to one that does not exist yet.
  std::filesystem::create_symlink(taken, dir.File("link.bin"));
  std::filesystem::create_symlink(dir.File("victim.bin"), dir.File("dangling.bin"));
  EXPECT_EQ(File::CreateNew(dir.File("link.bin")), nullptr);
  EXPECT_EQ(File::CreateNew(dir.File("dangling.bin")), nullptr);
  EXPECT_EQ(ReadWholeFile(taken), Counting(500));
  EXPECT_FALSE(std::filesystem::exists(dir.File("victim.bin")));
#endif

  const std::string path = dir.File("target.bin");
  auto target = File::CreateNew(path);
  ASSERT_NE(target, nullptr);
#ifndef _WIN32
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
      << "readable by its owner alone";
#endif
  EXPECT_TRUE(target->IsNamed(path));
  EXPECT_FALSE(target->IsNamed(taken));
  const auto bytes = Counting(3000);
  EXPECT_EQ(target->Write(bytes.data(), 1000), 1000);
  std::vector<std::uint8_t> back(10);
  EXPECT_EQ(target->ReadAt(0, back.data(), 10), 10) << "a target can be read back";
  EXPECT_EQ(target->Write(bytes.data() + 1000, 2000), 2000) << "writing goes on at the end";
  EXPECT_EQ(target->Write(bytes.data(), 0), 0);
  EXPECT_EQ(target->Size(), 3000);
  EXPECT_TRUE(target->Flush());
  EXPECT_TRUE(target->Close());
  EXPECT_TRUE(target->Close()) << "closing twice is harmless";
  target.reset();
  EXPECT_EQ(ReadWholeFile(path), bytes);

  // The rename replaces the name's file in one step; a link under the name is replaced, and
  // what it pointed to stays as it was.
  EXPECT_EQ(RenameReplacing(path, taken), "");
  EXPECT_EQ(ReadWholeFile(taken), bytes);
  EXPECT_FALSE(std::filesystem::exists(path));
#ifndef _WIN32
  WriteWholeFile(path, Counting(7));
  EXPECT_EQ(RenameReplacing(path, dir.File("link.bin")), "");
  EXPECT_FALSE(std::filesystem::is_symlink(dir.File("link.bin")));
  EXPECT_EQ(ReadWholeFile(dir.File("link.bin")), Counting(7));
  EXPECT_EQ(ReadWholeFile(taken), bytes);
#endif
  EXPECT_NE(RenameReplacing(dir.File("missing.bin"), taken), "") << "a failure says why";
  EXPECT_TRUE(RemoveFile(taken));
  EXPECT_TRUE(RemoveFile(taken)) << "what is gone counts as removed";
}

TEST(FileTest, PrivateFoldersAreNewEachTime) {
  TempDir dir;
  const std::string parent = dir.path() + "/";
  const std::string first = CreatePrivateFolder(parent, "run-");
  const std::string second = CreatePrivateFolder(parent, "run-");
  EXPECT_NE(first, second);
  EXPECT_EQ(first.rfind(parent + "run-", 0), 0u);
  EXPECT_EQ(FolderOf(first + "RSFtmp0001.wav"), first);
  EXPECT_EQ(FolderOf("Clip"), "");
#ifndef _WIN32
  EXPECT_EQ(std::filesystem::status(first).permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all);
#endif
  WriteWholeFile(first + "copy.bin", Counting(3));
  EXPECT_FALSE(RemoveEmptyFolder(first)) << "a folder still holding a copy stays";
  EXPECT_TRUE(RemoveFile(first + "copy.bin"));
  EXPECT_TRUE(RemoveEmptyFolder(first));
  EXPECT_FALSE(std::filesystem::exists(first));
  EXPECT_THROW(CreatePrivateFolder(dir.File("missing/"), "run-"), FileCreateError);
}

#ifndef _WIN32
// The system's reasons come in Chinese where the system has the translation, whatever the
// process's own locale.
TEST(ErrorTextTest, SystemMessagesAreChineseWhereTheSystemHasThem) {
  const locale_t chinese = ::newlocale(LC_MESSAGES_MASK, "zh_CN.UTF-8", locale_t{});
  if (chinese == locale_t{}) GTEST_SKIP() << "no zh_CN.UTF-8 locale on this machine";
  ::freelocale(chinese);
  EXPECT_EQ(SystemErrorMessage(ENOENT), "没有那个文件或目录");
  EXPECT_EQ(SystemErrorMessage(EACCES), "权限不够");
  EXPECT_EQ(SystemErrorMessage(0x80000000u), std::nullopt);
}
#endif

// The user's error text names the file, and a second line says why in the system's words.
TEST(FileTest, NamesThatCannotBeOpenedOrCreatedRaiseTheUsersErrors) {
  TempDir dir;
  auto expect_text = [](const std::string& text, const std::string& first_line) {
    EXPECT_EQ(text.substr(0, text.find('\n')), first_line);
    ASSERT_NE(text.find('\n'), std::string::npos) << text << ": no reason";
    EXPECT_GT(text.size(), first_line.size() + 1) << text;
  };
  try {
    File::OpenReadShared(dir.File("missing.bin"));
    FAIL() << "a missing source opened";
  } catch (const FileOpenError& error) {
    expect_text(error.what(), "不能打开文件 " + dir.File("missing.bin"));
  }
  EXPECT_THROW(File::OpenReadShared(""), FileOpenError);
  try {
    File::OpenReadShared(dir.path());
    FAIL() << "a folder is no source";
  } catch (const FileOpenError& error) {
    expect_text(error.what(), "不能打开文件 " + dir.path());
  }
#ifndef _WIN32
  // A named pipe without a writer would hold a blocking open for ever; the alarm ends the test
  // program if it does.
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  ::alarm(20);
  try {
    File::OpenReadShared(pipe);
    FAIL() << "a named pipe is no source";
  } catch (const FileOpenError& error) {
    expect_text(error.what(), "不能打开文件 " + pipe);
  }
  ::alarm(0);
#endif
  try {
    File::CreateNew(dir.File("no/such/folder.bin"));
    FAIL() << "a file in a missing folder was created";
  } catch (const FileCreateError& error) {
    expect_text(error.what(), "不能创建文件 " + dir.File("no/such/folder.bin"));
#ifndef _WIN32
    EXPECT_NE(std::string(error.what()).find(*SystemErrorMessage(ENOENT)), std::string::npos) << error.what();
#endif
  }
#ifndef _WIN32
  // A folder that exists but takes no files says so, not that the file is missing.
  if (std::filesystem::is_directory("/proc/self")) {
    try {
      File::CreateNew("/proc/self/Clip1.jpg");
      FAIL() << "a file was created under /proc";
    } catch (const FileCreateError& error) {
      EXPECT_NE(std::string(error.what()).find(*SystemErrorMessage(EACCES)), std::string::npos) << error.what();
    }
  }
#endif
  EXPECT_THROW(File::CreateNew(""), FileCreateError);
  EXPECT_EQ(File::CreateNew(dir.path()), nullptr) << "a folder's name is taken";
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

#ifndef _WIN32
// The default target: a writable folder of the user's, never where installed programs live,
// even for root.
TEST(FileTest, InstalledProgramFoldersTakeNoUserFiles) {
  TempDir dir;
  EXPECT_TRUE(TakesUserFiles(dir.path() + "/"));
  EXPECT_FALSE(TakesUserFiles(dir.File("missing") + "/"));
  for (const char* system : {"/usr/bin/", "/usr/local/bin/", "/opt/rsf/bin/", "/bin/"}) EXPECT_FALSE(TakesUserFiles(system));
}
#endif

}  // namespace
}  // namespace rsf::platform
