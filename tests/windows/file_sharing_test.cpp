// Win32 files: a source denies writers while a scan reads it, a target admits no one, and UTF-8
// names reach the ANSI file functions in the system's code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "platform/file.h"
#include "support/scan_harness.h"
#include "windows/windows_harness.h"

namespace rsf::platform {
namespace {

using test::PathFromUtf8;
using test::TempDir;
using test::WriteWholeFile;

// Opens `path` the way another program would; true when Windows lets it.
bool OtherProgramOpens(const std::string& path, DWORD access, DWORD sharing, DWORD* error = nullptr) {
  HANDLE handle = CreateFileW(PathFromUtf8(path).c_str(), access, sharing, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    if (error) *error = GetLastError();
    return false;
  }
  CloseHandle(handle);
  return true;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

TEST(Win32FileTest, ASourceDeniesWritersButNotReaders) {
  TempDir dir;
  const std::string path = dir.File("source.bin");
  WriteWholeFile(path, std::vector<std::uint8_t>(4096, 7));
  auto source = File::OpenReadShared(path);
  DWORD error = 0;
  EXPECT_FALSE(OtherProgramOpens(path, GENERIC_WRITE, kShareAll, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_TRUE(OtherProgramOpens(path, GENERIC_READ, kShareAll));
  EXPECT_FALSE(OtherProgramOpens(path, GENERIC_READ, 0)) << "nor can a reader that wants the file to itself";
  source.reset();
  EXPECT_TRUE(OtherProgramOpens(path, GENERIC_WRITE, kShareAll)) << "closing lifts the denial";
}

TEST(Win32FileTest, AFileSomeoneWritesCannotBeASource) {
  TempDir dir;
  const std::string path = dir.File("busy.bin");
  WriteWholeFile(path, std::vector<std::uint8_t>(100, 1));
  HANDLE writer = CreateFileW(PathFromUtf8(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_THROW(File::OpenReadShared(path), FileOpenError);
  CloseHandle(writer);
  EXPECT_NO_THROW(File::OpenReadShared(path));
}

TEST(Win32FileTest, ATargetAdmitsNoOne) {
  TempDir dir;
  const std::string path = dir.File("target.bin");
  auto target = File::CreateNew(path);
  ASSERT_NE(target, nullptr);
  DWORD error = 0;
  EXPECT_FALSE(OtherProgramOpens(path, GENERIC_READ, kShareAll, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(File::CreateNew(path), nullptr) << "not even a second target of the same name";
  EXPECT_THROW(File::OpenReadShared(path), FileOpenError);
  ASSERT_TRUE(target->Close());
  EXPECT_TRUE(OtherProgramOpens(path, GENERIC_READ, kShareAll));
}

TEST(Win32FileTest, InvalidUtf8NamesNothing) {
  TempDir dir;
  EXPECT_THROW(File::OpenReadShared(dir.File("bad\xFF.bin")), FileOpenError);
  EXPECT_THROW(File::CreateNew(dir.File("bad\xC3.bin")), FileCreateError);
}

// Chinese names need the code page of a Chinese system (936), as the program's users have.
class Win32ChineseNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 936) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 936 (run Wine with LC_ALL=zh_CN.UTF-8)";
  }
};

TEST_F(Win32ChineseNamesTest, SourcesAndTargetsKeepTheirNames) {
  TempDir dir;
  const std::string source = dir.File("源文件.bin");
  {
    std::ofstream out(PathFromUtf8(source), std::ios::binary);
    out << "RIFF";
  }
  auto file = File::OpenReadShared(source);
  EXPECT_EQ(file->Size(), 4);

  const std::string target = dir.File("剪辑 1.wav");
  auto created = File::CreateNew(target);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->Write("RIFF", 4), 4);
  ASSERT_TRUE(created->Close());
  // Seen through the UTF-16 functions, the file carries the Chinese name, not a code-page
  // garbling of it.
  EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(target)));
  EXPECT_EQ(std::filesystem::file_size(PathFromUtf8(target)), 4u);
}

TEST_F(Win32ChineseNamesTest, ANameTheCodePageCannotHoldIsNotOpened) {
  TempDir dir;
  // U+1F600 has no form in code page 936: the ANSI name can never match the real file.
  const std::string name = dir.File("\xF0\x9F\x98\x80.bin");
  {
    std::ofstream out(PathFromUtf8(name), std::ios::binary);
    out << "data";
  }
  ASSERT_TRUE(std::filesystem::exists(PathFromUtf8(name)));
  EXPECT_THROW(File::OpenReadShared(name), FileOpenError);
}

}  // namespace
}  // namespace rsf::platform
