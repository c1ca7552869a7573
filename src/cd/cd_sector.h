// The sector layouts of CD tracks in a disc image, and what a drive reading a data track with
// READ(10) in 2048-byte blocks delivers from each sector: the user data of a Mode 1 or Mode 2
// Form 1 sector whose EDC holds, zeros for a Mode 0 sector, and a refusal for everything else
// (a broken sync or header, a bad EDC, a Form 2 sector whose 2324 bytes do not fit a block).
#pragma once

#include <cstdint>

#include "base/bytes.h"

namespace rsf {

// How a track's sectors are stored in an image: the modes of a cue sheet's TRACK lines.
enum class TrackMode {
  kAudio,        // AUDIO: 2352 bytes of samples (16-bit little-endian stereo at 44,100 Hz)
  kMode1Raw,     // MODE1/2352: sync, header, 2048 user bytes, EDC, ECC
  kMode1Cooked,  // MODE1/2048: the user bytes alone
  kMode2Raw,     // MODE2/2352: sync, header, subheader, then Form 1 or Form 2
  kMode2Cooked,  // MODE2/2336: subheader, then Form 1 or Form 2, without sync and header
};

inline constexpr std::int64_t kRawSectorSize = 2352;
inline constexpr std::int64_t kUserDataSize = 2048;
inline constexpr std::int64_t kSectorSyncSize = 12;

// Whether `bytes` begin with the sync pattern of a raw data sector (00, ten FF, 00).
bool StartsWithSectorSync(Bytes bytes);

// Bytes per sector in the image.
std::int64_t StoredSectorSize(TrackMode mode);

// The 2048 user bytes of one stored sector of a data track into `into`; false when a drive
// would refuse the sector (`sector` holds StoredSectorSize(mode) bytes, or fewer when the image
// ends inside it, which is refused too).
bool UserDataOfSector(TrackMode mode, Bytes sector, std::uint8_t* into);

}  // namespace rsf
