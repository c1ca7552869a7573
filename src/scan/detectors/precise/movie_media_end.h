// Where a QuickTime or MP4 movie's media data ends, by the tables that place its samples: what
// ends a movie whose last atom is an "mdat" of size 0 ("runs to the end of the file"), which
// inside other data runs to nothing that can be trusted.
#pragma once

#include <cstdint>
#include <optional>

#include "base/bytes.h"

namespace rsf {

// One past the last byte of media data that the sample tables of the movie atom (`moov`, its
// body after the 8-byte header) place, counted from the movie's first byte: for every track,
// each chunk's offset (`stco`/`co64`) plus the sizes (`stsz`/`stz2`) of the samples the
// sample-to-chunk table (`stsc`) gives it. Nullopt when no track places any sample or the tables
// do not add up.
std::optional<std::int64_t> MediaDataEnd(Bytes moov);

// The same for one movie fragment (`moof`, its body, standing `moof_offset` bytes into the
// movie): each track run's data offset from its base, plus its samples' sizes.
std::optional<std::int64_t> FragmentDataEnd(Bytes moof, std::int64_t moof_offset);

}  // namespace rsf
