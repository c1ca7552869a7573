// The WAVE file of a CD audio track: the 44-byte header of a canonical RIFF WAVE file (one
// "fmt " chunk for 16-bit stereo PCM at 44,100 Hz, one "data" chunk) before the track's
// samples, which CD audio already stores as WAVE does: little-endian, left channel first.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace rsf {

inline constexpr std::int64_t kWaveHeaderSize = 44;

// The header for `sample_bytes` bytes of samples; nullopt when the RIFF size fields (32 bits)
// cannot hold them.
std::optional<std::array<std::uint8_t, kWaveHeaderSize>> CdAudioWaveHeader(std::int64_t sample_bytes);

}  // namespace rsf
