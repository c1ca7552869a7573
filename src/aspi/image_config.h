// The configuration of the image provider, read from its environment variables:
//   RSFX_ASPI_IMAGES              "H:T=PATH;H:T=PATH": the disc image at PATH is a CD-ROM
//                                 device at host adapter H, target T, LUN 0; an empty PATH
//                                 is a drive without a disc
//   RSFX_ASPI_IMAGE_DELAY_MS      every SCSI request is answered this many ms after it was sent
//   RSFX_ASPI_IMAGE_BAD_SECTORS   "H:T@FIRST-LAST;...": READ(10) requests touching these sectors
//                                 end with a medium error
//   RSFX_ASPI_IMAGE_SLOW_SECTORS  "H:T@FIRST-LAST=MS;...": READ(10) requests touching these
//                                 sectors are answered MS ms late (on top of the delay)
//   RSFX_ASPI_IMAGE_SYNC          "1": requests are answered before SendASPI32Command returns
// Malformed entries are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rsf::aspi {

struct SectorRange {
  std::uint64_t first = 0;
  std::uint64_t last = 0;   // inclusive
  std::uint32_t late_ms = 0;
  bool Touches(std::uint64_t begin, std::uint64_t count) const { return count > 0 && begin <= last && first < begin + count; }
};

struct ImageDevice {
  int host_adapter = 0;
  int target = 0;
  std::string path;  // empty: no disc
  std::vector<SectorRange> bad_sectors;
  std::vector<SectorRange> slow_sectors;
};

struct ImageConfig {
  std::vector<ImageDevice> devices;
  std::uint32_t delay_ms = 0;
  bool synchronous = false;

  // One more than the highest host adapter of any device; 0 without devices.
  int HostAdapterCount() const;
  const ImageDevice* Find(int host_adapter, int target) const;
};

// The texts of the variables, in the order listed above (null pointers count as unset).
struct ImageEnvironment {
  std::string images, delay_ms, bad_sectors, slow_sectors, sync;
  static ImageEnvironment Current();
  bool operator==(const ImageEnvironment&) const = default;
};

ImageConfig ParseImageConfig(const ImageEnvironment& environment);

}  // namespace rsf::aspi
