// CD mode without its window: the drive lists of both access ways, what entering CD mode
// finds (the entries, or the warning to show instead), and the source stream a drive entry
// opens for a scan.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_separator.h"
#include "stream/source_stream.h"

namespace rsf {

inline constexpr const char* kNoAspiDriverWarning =
    "抱歉，不能找到 ASPI 驱动器。" RSF_LINE_SEPARATOR RSF_LINE_SEPARATOR "返回到文件模式...";
inline constexpr const char* kNoCdDriveWarning =
    "抱歉，不能找到任何 CD-ROM 驱动器。" RSF_LINE_SEPARATOR RSF_LINE_SEPARATOR "返回到文件模式...";
inline constexpr const char* kCdDriveListHint = "可用的 CD-ROM 驱动器";

// True when CDs are read through the raw device of a drive (NT form of drive entries and
// TNTCDStream), false for ASPI. The window reads it once when it is created.
bool NTDeviceMode();

// ASPI-form entries: "<host adapter>:<target>:0", four spaces, the inquiry text (at most 32
// characters), for every CD-ROM device at LUN 0 of targets 0 to 7 of every host adapter.
std::vector<std::string> AspiCdDriveList();
// NT-form entries: the system's CD drives as the raw device access names them, in order.
std::vector<std::string> NtCdDriveList();

// What entering CD mode found: the entries for the drive list, or (with no entries) the
// warning to show before staying in file mode.
struct CdDriveDiscovery {
  std::vector<std::string> entries;
  std::string warning;
};
CdDriveDiscovery DiscoverCdDrives(bool nt_device_mode);

// The address in an ASPI-form entry: host adapter, target and LUN as the decimal numbers
// before the first three colons' ends ("0:1:0    RSF ..." gives 0, 1, 0). Nullopt unless the
// entry begins with three such numbers of at most 255, separated by colons and followed by
// the end or a character that is not a digit.
struct AspiAddress {
  std::uint8_t host_adapter = 0;
  std::uint8_t target = 0;
  std::uint8_t lun = 0;
};
std::optional<AspiAddress> ParseAspiDriveEntry(std::string_view entry);

// The source stream of a scan in CD mode: TNTCDStream on the whole entry in NT device mode,
// else TCDStream at the entry's address. Raises rsf::Error for an entry that holds no address.
std::unique_ptr<SourceStream> OpenCdSource(const std::string& entry, bool nt_device_mode);

}  // namespace rsf
