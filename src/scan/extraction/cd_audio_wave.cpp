// RIFF size fields count the bytes after themselves: the RIFF chunk's is 36 + data, the data
// chunk's the samples; the format chunk is PCM (1), 2 channels, 44,100 Hz, 176,400 bytes a
// second, 4 bytes a sample frame, 16 bits.
#include "scan/extraction/cd_audio_wave.h"

#include <cstring>

namespace rsf {
namespace {

void Put32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void Put16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace

std::optional<std::array<std::uint8_t, kWaveHeaderSize>> CdAudioWaveHeader(std::int64_t sample_bytes) {
  if (sample_bytes < 0 || sample_bytes > 0xFFFFFFFFll - 36) return std::nullopt;
  std::array<std::uint8_t, kWaveHeaderSize> header{};
  std::uint8_t* h = header.data();
  std::memcpy(h, "RIFF", 4);
  Put32(h + 4, static_cast<std::uint32_t>(36 + sample_bytes));
  std::memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, 16);
  Put16(h + 20, 1);
  Put16(h + 22, 2);
  Put32(h + 24, 44100);
  Put32(h + 28, 44100 * 4);
  Put16(h + 32, 4);
  Put16(h + 34, 16);
  std::memcpy(h + 36, "data", 4);
  Put32(h + 40, static_cast<std::uint32_t>(sample_bytes));
  return header;
}

}  // namespace rsf
