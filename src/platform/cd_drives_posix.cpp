// CD drives through Linux sysfs: every block device named sr<number> under <root>/block. Its
// "device" link ends in the SCSI address host:channel:target:lun, its "device/type" holds the
// peripheral device type and its "uevent" the device node's name below /dev.
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "platform/cd_drives.h"

namespace rsf::platform {
namespace {

namespace fs = std::filesystem;

// The number of an "sr<digits>" name, or -1.
long CdNumber(std::string_view name) {
  if (name.size() < 3 || name.substr(0, 2) != "sr") return -1;
  long number = 0;
  const char* end = name.data() + name.size();
  const auto [rest, error] = std::from_chars(name.data() + 2, end, number);
  return error == std::errc() && rest == end ? number : -1;
}

// "1:0:2:0" into the four numbers; false unless it is exactly four decimal numbers.
bool ParseScsiAddress(std::string_view text, int (&parts)[4]) {
  const char* cursor = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 4; ++i) {
    const auto [rest, error] = std::from_chars(cursor, end, parts[i]);
    if (error != std::errc() || rest == cursor || parts[i] < 0) return false;
    cursor = rest;
    if (i < 3) {
      if (cursor == end || *cursor != ':') return false;
      ++cursor;
    }
  }
  return cursor == end;
}

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// DEVNAME from the uevent file, else the block device's own name.
std::string DeviceNodeName(const fs::path& block, const std::string& name) {
  std::ifstream in(block / "uevent");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("DEVNAME=", 0) == 0 && line.size() > 8) return line.substr(8);
  return name;
}

}  // namespace

std::vector<ScsiCdDevice> FindScsiCdDevices(const std::string& sysfs_root) {
  std::vector<std::pair<long, ScsiCdDevice>> found;
  std::error_code error;
  const fs::path block_root = fs::path(sysfs_root) / "block";
  for (fs::directory_iterator it(block_root, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    const long number = CdNumber(name);
    if (number < 0) continue;
    ScsiCdDevice device;
    device.name = name;
    device.device_path = "/dev/" + DeviceNodeName(it->path(), name);
    std::error_code link_error;
    const fs::path scsi = fs::canonical(it->path() / "device", link_error);
    int parts[4];
    if (!link_error && ParseScsiAddress(scsi.filename().string(), parts)) {
      device.host = parts[0];
      device.channel = parts[1];
      device.target = parts[2];
      device.lun = parts[3];
    }
    const std::string type = FirstLine(it->path() / "device" / "type");
    int type_value = 0;
    const auto [rest, type_error] = std::from_chars(type.data(), type.data() + type.size(), type_value);
    if (type_error == std::errc() && rest != type.data()) device.device_type = type_value;
    found.emplace_back(number, std::move(device));
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ScsiCdDevice> devices;
  for (auto& entry : found) devices.push_back(std::move(entry.second));
  return devices;
}

std::vector<std::string> CdDriveNames() {
  std::vector<std::string> drives;
  for (const ScsiCdDevice& device : FindScsiCdDevices("/sys")) drives.push_back(device.device_path);
  return drives;
}

}  // namespace rsf::platform
