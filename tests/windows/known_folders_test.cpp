// The system's known folders, which decide where an installed program's clips go: the folders
// programs are installed into take no user files, even where the user may write to them; a
// folder of the user's does. Names are compared as Windows compares them.
#include <gtest/gtest.h>

#include <windows.h>
#include <knownfolders.h>

#include "platform/known_folders_win32.h"
#include "platform/system_info.h"
#include "support/scan_harness.h"
#include "windows_harness.h"

namespace {

using rsf::platform::InsideFolder;
using rsf::platform::KnownFolder;
using rsf::platform::TakesUserFiles;

struct Containment {
  const char* path;
  const char* folder;
  bool inside;
};

class InsideFolderTest : public ::testing::TestWithParam<Containment> {};

TEST_P(InsideFolderTest, ComparesAsWindowsComparesNames) {
  EXPECT_EQ(InsideFolder(GetParam().path, GetParam().folder), GetParam().inside)
      << GetParam().path << " in " << GetParam().folder;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InsideFolderTest,
    ::testing::Values(Containment{"C:\\Program Files\\RSF-Extractor\\", "C:\\Program Files\\", true},
                      Containment{"c:\\PROGRAM FILES\\RSF-Extractor\\", "C:\\Program Files\\", true},
                      Containment{"C:/Program Files/RSF-Extractor/", "C:\\Program Files", true},
                      Containment{"C:\\Program Files", "C:\\Program Files\\", true},
                      Containment{"C:\\Program Files (x86)\\RSF-Extractor\\", "C:\\Program Files\\", false},
                      Containment{"C:\\Program\\", "C:\\Program Files\\", false},
                      Containment{"D:\\游戏\\程序\\", "d:\\游戏\\", true},
                      Containment{"D:\\游戏\\", "D:\\游戏\\程序\\", false},
                      Containment{"C:\\Program Files\\", "", false}));

TEST(KnownFoldersTest, ProgramFoldersTakeNoUserFilesTheUsersFoldersDo) {
  const std::string program_files = KnownFolder(FOLDERID_ProgramFiles);
  ASSERT_FALSE(program_files.empty());
  EXPECT_EQ(program_files.back(), '\\');
  EXPECT_FALSE(TakesUserFiles(program_files + "RSF-Extractor\\"));
  EXPECT_FALSE(TakesUserFiles(KnownFolder(FOLDERID_Windows)));

  // Programs installed for one user go to %LOCALAPPDATA%\Programs, the user's to write to and
  // still no place for clips.
  const std::string local = KnownFolder(FOLDERID_LocalAppData);
  ASSERT_FALSE(local.empty());
  EXPECT_FALSE(TakesUserFiles(local + "Programs\\RSF-Extractor\\"));
  EXPECT_TRUE(TakesUserFiles(local)) << "only its Programs folder is kept for programs";

  // Where an installed program's clips go instead.
  const std::string documents = KnownFolder(FOLDERID_Documents);
  ASSERT_FALSE(documents.empty());
  EXPECT_EQ(documents.back(), '\\');
  EXPECT_FALSE(InsideFolder(documents, program_files));
  const rsf::test::TempDir temp;
  EXPECT_TRUE(TakesUserFiles(rsf::test::WindowsPath(temp.path()) + "\\"));
}

}  // namespace
