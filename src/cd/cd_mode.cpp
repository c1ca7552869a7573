// Drive discovery and drive entries of CD mode.
#include "cd/cd_mode.h"

#include <charconv>

#include "base/errors.h"
#include "cd/BasicASPI.h"
#include "cd/ntcdstream.h"
#include "aspi_abi/scsidefs.h"
#include "cd/wnaspi32.h"
#include "platform/cd_drives.h"
#include "platform/system_info.h"

namespace rsf {

bool NTDeviceMode() { return platform::RawCdDeviceAccess(); }

std::vector<std::string> AspiCdDriveList() {
  std::vector<std::string> entries;
  const std::uint32_t support = GetASPI32SupportInfo();
  if (aspi::SupportStatus(support) != aspi::kStatusCompleted) return entries;
  const int host_adapters = aspi::SupportHostAdapters(support);
  for (int host_adapter = 0; host_adapter < host_adapters; ++host_adapter) {
    for (std::uint8_t target = 0; target <= 7; ++target) {
      const auto adapter = static_cast<std::uint8_t>(host_adapter);
      if (AspiDeviceType(adapter, target, 0) != aspi::kDeviceTypeCdRom) continue;
      entries.push_back(std::to_string(host_adapter) + ":" + std::to_string(target) + ":0    " +
                        AspiInquiryText(adapter, target, 0).substr(0, 32));
    }
  }
  return entries;
}

std::vector<std::string> NtCdDriveList() { return platform::CdDriveNames(); }

CdDriveDiscovery DiscoverCdDrives(bool nt_device_mode) {
  CdDriveDiscovery found;
  if (nt_device_mode) {
    found.entries = NtCdDriveList();
  } else if (GetASPI32SupportInfo() == 0) {
    found.warning = kNoAspiDriverWarning;
    return found;
  } else {
    found.entries = AspiCdDriveList();
  }
  if (found.entries.empty()) found.warning = kNoCdDriveWarning;
  return found;
}

std::optional<AspiAddress> ParseAspiDriveEntry(std::string_view entry) {
  unsigned numbers[3] = {};
  const char* cursor = entry.data();
  const char* end = entry.data() + entry.size();
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (cursor == end || *cursor != ':') return std::nullopt;
      ++cursor;
    }
    const auto [rest, error] = std::from_chars(cursor, end, numbers[i]);
    if (error != std::errc() || rest == cursor || numbers[i] > 255) return std::nullopt;
    cursor = rest;
  }
  return AspiAddress{static_cast<std::uint8_t>(numbers[0]), static_cast<std::uint8_t>(numbers[1]),
                     static_cast<std::uint8_t>(numbers[2])};
}

std::unique_ptr<SourceStream> OpenCdSource(const std::string& entry, bool nt_device_mode) {
  if (nt_device_mode) return std::make_unique<TNTCDStream>(entry);
  const std::optional<AspiAddress> address = ParseAspiDriveEntry(entry);
  if (!address) throw Error("无效的 CD 驱动器: " + entry);
  return std::make_unique<TCDStream>(address->host_adapter, address->target, address->lun);
}

}  // namespace rsf
