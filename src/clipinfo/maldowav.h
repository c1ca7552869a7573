// WAVE format information text and the format-tag name table (unit maldowav).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/bytes.h"

namespace rsf {

inline constexpr std::size_t kWavInfoBytes = 40;

// Three lines: sample format, byte rate, format name. `block` holds 40 bytes from "RIFF".
std::string GetWAVInfo(Bytes block);

// Name of a WAVE format tag; "未知" for tags not in the table.
std::string GetWaveFormatName(std::uint16_t tag);

}  // namespace rsf
