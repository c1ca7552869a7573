// The tags around a run of MP3 frames that the precise rules take into the clip: an ID3v2 tag
// before the first frame, and after the last one APEv2, Lyrics3 (versions 1 and 2) and ID3v1
// tags, in whatever order they follow one another.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scan/engine/source_view.h"

namespace rsf {

// What an ID3v2 tag starts with.
inline constexpr std::string_view kId3v2Signature = "ID3";

// The end of the ID3v2 tag at `at` (its header, frames, padding and, for version 4, footer),
// or nullopt when no such tag stands there.
std::optional<std::int64_t> Id3v2End(SourceView& view, std::int64_t at);

// Moves `end` behind the tags that follow it; an ID3v1 tag adds its lines to `info` as under
// the classic rules. A tag that cannot be read whole is not taken.
void TakeTrailingTags(SourceView& view, std::int64_t& end, std::string& info);

}  // namespace rsf
