// CD mode without its window: the ASPI drive list, what entering CD mode finds or warns about,
// reading drive entries, and the source stream an entry opens.
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/errors.h"
#include "cd/BasicASPI.h"
#include "cd/cd_mode.h"
#include "cd/ntcdstream.h"
#include "fake_aspi.h"
#include "support/scan_harness.h"

namespace rsf {
namespace {

using test::FakeAspiLibrary;

const std::string kInquiry = "VENDOR  PRODUCT NAME    REV1";

TEST(AspiCdDriveListTest, TwoDrivesAtTargetsOneAndThree) {
  FakeAspiLibrary library;
  library.AddDrive(0, 1);
  library.AddDrive(0, 3);
  library.AddDrive(0, 5).device_type = aspi::kDeviceTypeDisk;
  const auto entries = AspiCdDriveList();
  EXPECT_EQ(entries, (std::vector<std::string>{"0:1:0    " + kInquiry, "0:3:0    " + kInquiry}));
  ASSERT_EQ(library.device_queries.size(), 8u) << "targets 0 to 7 of the one host adapter";
  for (const auto& query : library.device_queries) EXPECT_EQ(query.lun, 0);

  const CdDriveDiscovery found = DiscoverCdDrives(false);
  EXPECT_EQ(found.entries, entries);
  EXPECT_EQ(found.warning, "");
}

TEST(AspiCdDriveListTest, OrderedByHostAdapterThenTargetAndNumbersAboveNine) {
  FakeAspiLibrary library;
  library.support_info = aspi::SupportInfo(1, 12);
  library.AddDrive(11, 7);
  library.AddDrive(2, 0);
  library.AddDrive(0, 6);
  library.AddDrive(0, 8);  // targets above 7 are never asked
  const auto entries = AspiCdDriveList();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].substr(0, 9), "0:6:0    ");
  EXPECT_EQ(entries[1].substr(0, 9), "2:0:0    ");
  EXPECT_EQ(entries[2].substr(0, 10), "11:7:0    ");
  EXPECT_EQ(library.device_queries.size(), 12u * 8u);
}

TEST(AspiCdDriveListTest, RefusedInquiryLeavesTheTextEmpty) {
  FakeAspiLibrary library;
  library.AddDrive(0, 2);
  library.answer = test::FakeAnswer::kRefused;
  EXPECT_EQ(AspiCdDriveList(), (std::vector<std::string>{"0:2:0    "}));
}

TEST(AspiCdDriveListTest, NoDrivesWithoutAReadyInterfaceOrHostAdapters) {
  FakeAspiLibrary library;
  library.AddDrive(0, 1);
  library.support_info = aspi::SupportInfo(1, 0);
  EXPECT_TRUE(AspiCdDriveList().empty());
  EXPECT_TRUE(library.device_queries.empty());
  EXPECT_EQ(DiscoverCdDrives(false).warning, kNoCdDriveWarning);

  library.support_info = aspi::SupportInfo(aspi::kStatusError, 1);
  EXPECT_TRUE(AspiCdDriveList().empty());
  EXPECT_EQ(DiscoverCdDrives(false).warning, kNoCdDriveWarning);

  library.support_info = 0x00FF0101;  // bits above 15 are ignored
  EXPECT_EQ(AspiCdDriveList().size(), 1u);
}

TEST(CdDiscoveryTest, WarningsWithTheirLineSeparators) {
  FakeAspiLibrary library;
  library.support_info = 0;
  const CdDriveDiscovery found = DiscoverCdDrives(false);
  EXPECT_TRUE(found.entries.empty());
  EXPECT_EQ(found.warning, "抱歉，不能找到 ASPI 驱动器。\x0A\x0D\x0A\x0D返回到文件模式...");
  EXPECT_TRUE(library.device_queries.empty());
  EXPECT_EQ(std::string(kNoCdDriveWarning), "抱歉，不能找到任何 CD-ROM 驱动器。\x0A\x0D\x0A\x0D返回到文件模式...");

  // NT device mode never asks ASPI.
  const CdDriveDiscovery nt = DiscoverCdDrives(true);
  EXPECT_EQ(nt.entries, NtCdDriveList());
  EXPECT_EQ(nt.warning, nt.entries.empty() ? kNoCdDriveWarning : "");
  EXPECT_TRUE(library.device_queries.empty());
}

TEST(CdDriveEntryTest, ColonSeparatedDecimalNumbers) {
  struct Case {
    const char* entry;
    int host_adapter, target, lun;
  };
  for (const Case& c : {Case{"0:1:0    RSF     IMAGE CD-ROM    1.0 ", 0, 1, 0}, Case{"1:0:0", 1, 0, 0},
                        Case{"3:7:2 x", 3, 7, 2}, Case{"10:7:0    ACME", 10, 7, 0}, Case{"255:15:7", 255, 15, 7},
                        Case{"0:1:0ABC", 0, 1, 0}}) {
    const auto address = ParseAspiDriveEntry(c.entry);
    ASSERT_TRUE(address) << c.entry;
    EXPECT_EQ(address->host_adapter, c.host_adapter) << c.entry;
    EXPECT_EQ(address->target, c.target) << c.entry;
    EXPECT_EQ(address->lun, c.lun) << c.entry;
  }
  for (const char* bad :
       {"", "x:1:0", "0:1", "0:1:", "0;1;0", " 0:1:0", "0:-1:0", "256:0:0", "0::0", "d:", "/dev/sr0"})
    EXPECT_FALSE(ParseAspiDriveEntry(bad)) << bad;
}

TEST(CdDriveEntryTest, OpeningAnEntry) {
  FakeAspiLibrary library;
  library.support_info = aspi::SupportInfo(1, 11);
  library.AddDrive(10, 3);
  auto aspi_stream = OpenCdSource("10:3:0    VENDOR", false);
  auto* cd = dynamic_cast<TCDStream*>(aspi_stream.get());
  ASSERT_NE(cd, nullptr);
  EXPECT_EQ(cd->HostAdapter(), 10);
  EXPECT_EQ(cd->Target(), 3);
  EXPECT_EQ(cd->Size(), 681830400);

  try {
    OpenCdSource("d:", false);
    FAIL() << "an entry without numbers opens nothing";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "无效的 CD 驱动器: d:");
  }

  test::TempDir dir;
  const std::string image = dir.File("disc.iso");
  test::WriteWholeFile(image, std::vector<std::uint8_t>(4 * 2048, 7));
  auto nt_stream = OpenCdSource(image, true);
  auto* nt = dynamic_cast<TNTCDStream*>(nt_stream.get());
  ASSERT_NE(nt, nullptr);
  EXPECT_EQ(nt->Drive(), image);
  EXPECT_EQ(nt->Size(), 4 * 2048);
  EXPECT_EQ(OpenCdSource("0:1:0", true)->Size(), -1) << "in NT device mode the whole entry names the drive";
}

TEST(CdDriveEntryTest, NtDeviceModeUnlessAspiIsAskedFor) {
  unsetenv("RSFX_CD_ACCESS");
  EXPECT_TRUE(NTDeviceMode());
  setenv("RSFX_CD_ACCESS", "aspi", 1);
  EXPECT_FALSE(NTDeviceMode());
  setenv("RSFX_CD_ACCESS", "nt", 1);
  EXPECT_TRUE(NTDeviceMode());
  unsetenv("RSFX_CD_ACCESS");
}

}  // namespace
}  // namespace rsf
