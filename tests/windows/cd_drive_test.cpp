// A CD drive letter under Wine: the drive is listed by its type, and the device stream reads the
// disc image that the drive's raw device stands for ("\\.\r:" through CreateFileA). The drive is
// set up outside the program (scripts/windows-tests.sh: the dosdevices links "r:" and "r::", the
// drive type "cdrom" in the registry), which names it and its image in RSF_WINE_CD_DRIVE and
// RSF_WINE_CD_IMAGE.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cd/ntcdstream.h"
#include "platform/cd_drives.h"
#include "windows/windows_harness.h"

namespace rsf::test {
namespace {

std::vector<std::uint8_t> WholeFile(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Win32CdDriveTest, TheDriveIsListedAndItsDeviceReadsTheDiscImage) {
  const char* drive_variable = std::getenv("RSF_WINE_CD_DRIVE");
  const char* image_variable = std::getenv("RSF_WINE_CD_IMAGE");
  if (drive_variable == nullptr || image_variable == nullptr)
    GTEST_SKIP() << "no CD drive set up for Wine (scripts/windows-tests.sh sets one up)";
  const std::string drive = drive_variable;
  const auto image = WholeFile(WindowsPath(image_variable));
  ASSERT_GT(image.size(), 3u * 2048) << image_variable;

  const auto drives = platform::CdDriveNames();
  EXPECT_NE(std::find(drives.begin(), drives.end(), drive), drives.end()) << "GetDriveTypeA";
  // Wine sizes a drive by the file system of the drive's folder, not by the image behind its
  // device, so only the answer itself is checked here.
  EXPECT_GT(NtVolumeSize(drive), 0) << "GetDiskFreeSpaceA";

  std::vector<std::uint8_t> sectors(3 * 2048);
  ASSERT_EQ(NtReadSectors(drive, 0, sectors.data(), 3), 0);
  EXPECT_TRUE(std::equal(sectors.begin(), sectors.end(), image.begin()));
  const std::uint32_t middle = static_cast<std::uint32_t>(image.size() / 2048 / 2);
  ASSERT_EQ(NtReadSectors(drive, middle, sectors.data(), 1), 0);
  EXPECT_TRUE(std::equal(sectors.begin(), sectors.begin() + 2048, image.begin() + middle * 2048));

  // The stream over the drive, read in scan-sized pieces up to the image's end.
  TNTCDStream stream(drive);
  std::vector<std::uint8_t> read(image.size());
  const std::int64_t size = static_cast<std::int64_t>(image.size());
  for (std::int64_t at = 0; at < size; at += 61440) {
    const std::int64_t count = std::min<std::int64_t>(61440, size - at);
    ASSERT_EQ(stream.Seek(at, kFromBeginning), at);
    ASSERT_EQ(stream.Read(read.data() + at, count), count) << "at " << at;
  }
  EXPECT_EQ(read, image);
}

}  // namespace
}  // namespace rsf::test
