// The ASPI provider for real drives on Linux (built as libwnaspi32.so beside rsfx). Its devices
// are the CD drives sysfs lists (/sys/block/sr*; RSFX_ASPI_SYSFS_ROOT replaces /sys for
// tests): every distinct SCSI host and channel becomes one host adapter, numbered from 0 in
// ascending order, and the drive keeps its SCSI target id and LUN. Execute-SCSI requests go
// to the drive's device node through the SG_IO ioctl on the worker thread; get-device-type is
// answered at once. Requests that would send data to the drive are refused.
#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "aspi/aspi_exports.h"
#include "aspi/provider_support.h"
#include "aspi/request_worker.h"
#include "aspi_abi/scsidefs.h"
#include "platform/cd_drives.h"

namespace rsf::aspi {
namespace {

constexpr unsigned kDriveTimeoutMs = 30000;

struct Drive {
  int host_adapter = 0;
  int target = 0;
  int lun = 0;
  int device_type = kDeviceTypeCdRom;
  std::string device_path;
};

struct DriveTable {
  int host_adapters = 0;
  std::vector<Drive> drives;

  const Drive* Find(int host_adapter, int target, int lun) const {
    for (const Drive& drive : drives)
      if (drive.host_adapter == host_adapter && drive.target == target && drive.lun == lun) return &drive;
    return nullptr;
  }
};

DriveTable DiscoverDrives() {
  const char* root = std::getenv("RSFX_ASPI_SYSFS_ROOT");
  const auto devices = platform::FindScsiCdDevices(root != nullptr && *root != '\0' ? root : "/sys");
  std::vector<std::pair<int, int>> adapters;
  for (const auto& device : devices)
    if (device.host >= 0 && device.channel >= 0) adapters.emplace_back(device.host, device.channel);
  std::sort(adapters.begin(), adapters.end());
  adapters.erase(std::unique(adapters.begin(), adapters.end()), adapters.end());
  if (adapters.size() > 255) adapters.resize(255);
  DriveTable table;
  table.host_adapters = static_cast<int>(adapters.size());
  for (const auto& device : devices) {
    const auto adapter = std::find(adapters.begin(), adapters.end(), std::make_pair(device.host, device.channel));
    if (adapter == adapters.end() || device.target < 0 || device.target > 255 || device.lun < 0 || device.lun > 7)
      continue;
    table.drives.push_back({static_cast<int>(adapter - adapters.begin()), device.target, device.lun, device.device_type,
                            device.device_path});
  }
  return table;
}

struct Provider {
  std::mutex mutex;
  std::shared_ptr<const DriveTable> table;
  RequestWorker worker;  // last: stopped before the rest goes
};

Provider& TheProvider() {
  static Provider provider;
  return provider;
}

// Rediscovered by every GetASPI32SupportInfo; requests use the last table (or a first one).
std::shared_ptr<const DriveTable> Table(bool rediscover) {
  Provider& provider = TheProvider();
  std::lock_guard lock(provider.mutex);
  if (rediscover || !provider.table) provider.table = std::make_shared<const DriveTable>(DiscoverDrives());
  return provider.table;
}

// One SCSI command through SG_IO: data, sense, host and target status; the request status.
std::uint8_t SendToDrive(const std::string& device_path, ExecScsiBlock& block) {
  const int fd = ::open(device_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetCheckCondition(block, kSenseNotReady, 0x04);  // logical unit not ready
    return kStatusError;
  }
  std::uint8_t cdb[16];
  std::copy_n(block.cdb, sizeof cdb, cdb);
  std::uint8_t sense[32] = {};
  sg_io_hdr_t io{};
  io.interface_id = 'S';
  io.cmd_len = static_cast<unsigned char>(std::min<unsigned>(block.cdb_length, sizeof cdb));
  io.cmdp = cdb;
  io.dxfer_direction = block.data_length > 0 ? SG_DXFER_FROM_DEV : SG_DXFER_NONE;
  io.dxfer_len = block.data_length;
  io.dxferp = reinterpret_cast<void*>(block.data_buffer);
  io.mx_sb_len = sizeof sense;
  io.sbp = sense;
  io.timeout = kDriveTimeoutMs;
  const int result = ::ioctl(fd, SG_IO, &io);
  ::close(fd);
  if (result != 0) {
    SetCheckCondition(block, kSenseNotReady, 0x04);
    return kStatusError;
  }
  block.host_status = static_cast<std::uint8_t>(io.host_status);
  block.target_status = io.status;
  std::copy_n(sense, std::min<std::size_t>({block.sense_length, sizeof block.sense, io.sb_len_wr}), block.sense);
  return (io.info & SG_INFO_OK_MASK) == SG_INFO_OK ? kStatusCompleted : kStatusError;
}

std::uint32_t DeviceType(const DriveTable& table, DeviceTypeBlock& block) {
  std::uint8_t status = kStatusCompleted;
  if (block.host_adapter >= table.host_adapters) {
    status = kStatusInvalidHostAdapter;
  } else if (const Drive* drive = table.Find(block.host_adapter, block.target, block.lun)) {
    block.device_type = static_cast<std::uint8_t>(drive->device_type);
  } else {
    status = kStatusNoDevice;
  }
  block.status = status;
  return status;
}

std::uint32_t Execute(const DriveTable& table, ExecScsiBlock& block) {
  if (block.host_adapter >= table.host_adapters) return block.status = kStatusInvalidHostAdapter;
  const Drive* drive = table.Find(block.host_adapter, block.target, block.lun);
  if (drive == nullptr) return block.status = kStatusNoDevice;
  if ((block.flags & kFlagDataOut) != 0) return block.status = kStatusInvalidCommand;
  block.status = kStatusPending;
  ExecScsiBlock* request = &block;
  TheProvider().worker.Submit(RequestWorker::Clock::now(), [path = drive->device_path, request] {
    FinishRequest(*request, SendToDrive(path, *request));
  });
  return kStatusPending;
}

}  // namespace
}  // namespace rsf::aspi

std::uint32_t GetASPI32SupportInfo() {
  using namespace rsf::aspi;
  return SupportInfo(kStatusCompleted, static_cast<std::uint8_t>(Table(true)->host_adapters));
}

std::uint32_t SendASPI32Command(void* request_block) {
  using namespace rsf::aspi;
  if (request_block == nullptr) return kStatusInvalidCommand;
  const auto table = Table(false);
  auto* header = static_cast<BlockHeader*>(request_block);
  switch (header->command) {
    case kCommandGetDeviceType: return DeviceType(*table, *static_cast<DeviceTypeBlock*>(request_block));
    case kCommandExecuteScsi: return Execute(*table, *static_cast<ExecScsiBlock*>(request_block));
    default: return header->status = kStatusInvalidCommand;
  }
}
