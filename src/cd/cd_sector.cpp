// Raw sector layouts (ECMA-130): sync (12 bytes: 00, ten FF, 00), header (minute, second,
// frame, mode), then for Mode 1 the user data at 16, EDC at 2064 over bytes 0..2063; for Mode 2
// the subheader at 16 (file, channel, submode, coding, twice), Form 1 user data at 24 and its
// EDC at 2072 over bytes 16..2071. Submode bit 5 marks Form 2. Cooked Mode 2 sectors (2336
// bytes) begin at the subheader.
#include "cd/cd_sector.h"

#include <algorithm>
#include <cstring>

#include "base/crc32.h"

namespace rsf {
namespace {

constexpr std::uint8_t kSync[kSectorSyncSize] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::uint8_t kForm2Bit = 0x20;

// An EDC field of zero is left unchecked: some rippers write zeros there instead of the code.
bool EdcHolds(Bytes covered, Bytes sector, std::size_t at) {
  const std::optional<std::uint32_t> stored = ReadLE32(sector, at);
  return stored && (*stored == 0 || CdEdc(covered) == *stored);
}

// Mode 2 from its subheader on (`from` = 16 in a raw sector, 0 in a cooked one).
bool Mode2UserData(Bytes sector, std::size_t from, std::uint8_t* into) {
  if (!FitsIn(sector.size(), from, 8 + kUserDataSize + 4)) return false;
  if (sector[from + 2] & kForm2Bit) return false;
  const std::size_t edc_at = from + 8 + kUserDataSize;
  if (!EdcHolds(sector.subspan(from, edc_at - from), sector, edc_at)) return false;
  std::memcpy(into, sector.data() + from + 8, kUserDataSize);
  return true;
}

}  // namespace

bool StartsWithSectorSync(Bytes bytes) {
  return bytes.size() >= sizeof kSync && std::equal(std::begin(kSync), std::end(kSync), bytes.begin());
}

std::int64_t StoredSectorSize(TrackMode mode) {
  switch (mode) {
    case TrackMode::kMode1Cooked: return kUserDataSize;
    case TrackMode::kMode2Cooked: return 2336;
    default: return kRawSectorSize;
  }
}

bool UserDataOfSector(TrackMode mode, Bytes sector, std::uint8_t* into) {
  switch (mode) {
    case TrackMode::kAudio:
      return false;
    case TrackMode::kMode1Cooked:
      if (sector.size() < static_cast<std::size_t>(kUserDataSize)) return false;
      std::memcpy(into, sector.data(), kUserDataSize);
      return true;
    case TrackMode::kMode2Cooked:
      return Mode2UserData(sector, 0, into);
    case TrackMode::kMode1Raw:
    case TrackMode::kMode2Raw:
      break;
  }
  // A raw sector: the mode its header states decides, as on a disc.
  if (sector.size() < static_cast<std::size_t>(kRawSectorSize) || !StartsWithSectorSync(sector))
    return false;
  switch (sector[15]) {
    case 0:  // a Mode 0 sector: zeros
      std::memset(into, 0, kUserDataSize);
      return true;
    case 1:
      if (!EdcHolds(sector.first(2064), sector, 2064)) return false;
      std::memcpy(into, sector.data() + 16, kUserDataSize);
      return true;
    case 2:
      return Mode2UserData(sector, 16, into);
    default:
      return false;
  }
}

}  // namespace rsf
