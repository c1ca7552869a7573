// Finding the CD drives through Linux sysfs, and the SCSI generic ASPI provider built on it,
// both on a made-up sysfs tree: drive order, SCSI addresses, host adapter numbering, device
// types, and requests to a drive whose device node cannot be opened.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cd/BasicASPI.h"
#include "cd/aspi_request.h"
#include "cd/cd_mode.h"
#include "cd/wnaspi32.h"
#include "platform/cd_drives.h"
#include "support/scan_harness.h"

namespace rsf {
namespace {

#if defined(__linux__)
namespace fs = std::filesystem;

// A sysfs tree with CD drives sr0 (2:0:0:0), sr1 (4:0:1:0) and sr10 (4:1:3:0), a disk and a
// name that only looks like a CD drive.
class FakeSysfs {
 public:
  FakeSysfs() {
    AddBlock("sr10", "4:1:3:0", "5");
    AddBlock("sr1", "4:0:1:0", "5");
    AddBlock("sr0", "2:0:0:0", "4");
    AddBlock("sda", "0:0:0:0", "0");
    AddBlock("sr2x", "5:0:0:0", "5");
  }
  std::string root() const { return dir_.path(); }

 private:
  void AddBlock(const std::string& name, const std::string& address, const std::string& type) {
    const fs::path device = fs::path(dir_.path()) / "devices" / ("host" + address.substr(0, 1)) / address;
    fs::create_directories(device);
    std::ofstream(device / "type") << type << "\n";
    const fs::path block = fs::path(dir_.path()) / "block" / name;
    fs::create_directories(block);
    fs::create_symlink(fs::relative(device, block), block / "device");
    std::ofstream(block / "uevent") << "MAJOR=11\nMINOR=0\nDEVNAME=rsf-missing/" << name << "\nDEVTYPE=disk\n";
  }
  test::TempDir dir_;
};

TEST(CdDrivesTest, SysfsDrivesInNumberOrderWithTheirAddresses) {
  FakeSysfs sysfs;
  const auto devices = platform::FindScsiCdDevices(sysfs.root());
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0].name, "sr0");
  EXPECT_EQ(devices[1].name, "sr1");
  EXPECT_EQ(devices[2].name, "sr10");
  EXPECT_EQ(devices[0].device_path, "/dev/rsf-missing/sr0");
  EXPECT_EQ(devices[0].device_type, 4);
  EXPECT_EQ(devices[2].host, 4);
  EXPECT_EQ(devices[2].channel, 1);
  EXPECT_EQ(devices[2].target, 3);
  EXPECT_EQ(devices[2].lun, 0);
  EXPECT_TRUE(platform::FindScsiCdDevices(sysfs.root() + "/nothing").empty());
}

TEST(CdDrivesTest, NtEntriesAreTheSystemsCdDevicePaths) {
  const auto entries = NtCdDriveList();
  const auto devices = platform::FindScsiCdDevices("/sys");
  ASSERT_EQ(entries.size(), devices.size());
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i], devices[i].device_path);
}

#ifdef RSF_ASPI_SG_PROVIDER
TEST(AspiScsiGenericProviderTest, DrivesFromSysfsAsAspiDevices) {
  FakeSysfs sysfs;
  setenv("RSFX_ASPI_LIBRARY", RSF_ASPI_SG_PROVIDER, 1);
  setenv("RSFX_ASPI_SYSFS_ROOT", sysfs.root().c_str(), 1);
  // Host 2 channel 0, host 4 channel 0 and host 4 channel 1 become host adapters 0, 1 and 2.
  EXPECT_EQ(GetASPI32SupportInfo(), 0x0103u);
  EXPECT_EQ(AspiDeviceType(0, 0, 0), 4);
  EXPECT_EQ(AspiDeviceType(1, 1, 0), 5);
  EXPECT_EQ(AspiDeviceType(2, 3, 0), 5);
  EXPECT_EQ(AspiDeviceType(1, 0, 0), 250);
  EXPECT_EQ(AspiDeviceType(2, 3, 1), 250);
  EXPECT_EQ(AspiDeviceType(3, 0, 0), 255);

  const auto entries = AspiCdDriveList();
  ASSERT_EQ(entries.size(), 2u) << "the type-4 drive is no CD-ROM device";
  // The device nodes do not exist: the requests complete with an error status; the inquiry
  // text is then what the cleared buffer holds.
  EXPECT_EQ(entries[0], "1:1:0    " + std::string(28, '\0'));
  EXPECT_EQ(entries[1].substr(0, 9), "2:3:0    ");
  std::uint8_t sector[2048];
  EXPECT_TRUE(AspiReadSectors(1, 1, 0, 16, sector, 1));
  EXPECT_EQ(AspiLastBlock(2, 3, 0), 0u);
  EXPECT_EQ(aspi::PendingRequestCount(), 0u) << "every request was signalled";
  EXPECT_EQ(TCDStream(1, 1, 0).Size(), -1);

  setenv("RSFX_ASPI_SYSFS_ROOT", (sysfs.root() + "/nothing").c_str(), 1);
  EXPECT_EQ(GetASPI32SupportInfo(), 0x0100u) << "ready, no host adapters";
  EXPECT_EQ(DiscoverCdDrives(false).warning, kNoCdDriveWarning);
  unsetenv("RSFX_ASPI_SYSFS_ROOT");
  unsetenv("RSFX_ASPI_LIBRARY");
}
#endif  // RSF_ASPI_SG_PROVIDER
#endif  // __linux__

}  // namespace
}  // namespace rsf
