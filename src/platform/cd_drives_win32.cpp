// CD drives on Windows: the drive letters whose drive type is 5 (a CD-ROM drive), as "d:".
// SCSI addresses come from the system's own ASPI library there, not from this layer.
#include <windows.h>

#include "platform/cd_drives.h"

namespace rsf::platform {

std::vector<std::string> CdDriveNames() {
  std::vector<std::string> drives;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const std::string drive{letter, ':'};
    if (::GetDriveTypeA(drive.c_str()) == DRIVE_CDROM) drives.push_back(drive);
  }
  return drives;
}

std::vector<ScsiCdDevice> FindScsiCdDevices(const std::string&) { return {}; }

}  // namespace rsf::platform
