// The CD-ROM drives of the system. CdDriveNames lists them in the form the raw volume access
// opens them ("d:" on Windows, a device path such as /dev/sr0 elsewhere); FindScsiCdDevices
// gives the SCSI address of each as Linux sysfs reports it, for the SCSI generic ASPI provider.
#pragma once

#include <string>
#include <vector>

namespace rsf::platform {

// In drive order: Windows asks GetDriveTypeA for a: to z:; Linux lists /sys/block/sr*.
std::vector<std::string> CdDriveNames();

struct ScsiCdDevice {
  std::string name;         // sr0
  std::string device_path;  // /dev/sr0
  int host = -1, channel = -1, target = -1, lun = -1;  // -1 when sysfs does not tell
  int device_type = 5;      // peripheral device type
};

// The CD devices below `sysfs_root` (normally "/sys"), ordered by their number. Empty where
// there is no sysfs.
std::vector<ScsiCdDevice> FindScsiCdDevices(const std::string& sysfs_root);

}  // namespace rsf::platform
