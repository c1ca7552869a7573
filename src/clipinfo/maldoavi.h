// AVI stream information text and the video codec name table (unit maldoavi).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace rsf {

inline constexpr std::size_t kAviInfoBytes = 255;

// Four lines: frame rate, frame size, play length, codec. `block` holds 255 bytes from "RIFF".
std::string GetAVIInfo(Bytes block);

// Name of a codec code (the raw handler bytes up to the first zero byte, at most 4), as UTF-8
// text for display: the table's name when an entry matches (last match wins), otherwise the
// code itself decoded as GBK.
std::string GetCodecName(std::string_view code);

}  // namespace rsf
