// RIFF files built in memory: WAVE files in PCM and ADPCM, and small AVI files whose main and
// stream headers carry chosen values. Payloads are patterns, not coded media, but every chunk,
// list and length field is laid out as players expect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "synth/byte_writer.h"

namespace rsf::synth {

// "RIFF", the size of all that follows, the form type, then `body` (padded to an even size).
ByteVector RiffFile(std::string_view form_type, const ByteVector& body);

// One chunk: identifier, 32-bit little-endian size, data, a pad byte after odd-sized data.
ByteVector RiffChunk(std::string_view id, const ByteVector& data);

// PCM WAVE: a 16-byte format chunk and `frames` sample frames.
ByteVector PcmWave(std::uint32_t sample_rate, std::uint16_t channels, std::uint16_t bits_per_sample,
                   std::size_t frames);

enum class AdpcmKind { kMicrosoft, kIma };

// ADPCM WAVE (format tag 2 or 0x11): the extended format chunk with samples per block (and the
// Microsoft coefficient table), a fact chunk with the sample count, and `blocks` data blocks.
ByteVector AdpcmWave(AdpcmKind kind, std::uint32_t sample_rate, std::uint16_t channels, std::size_t blocks);

struct AviFields {
  std::uint32_t micro_sec_per_frame = 100000;
  std::uint32_t frames = 10;
  std::int32_t width = 64;
  std::int32_t height = 48;
  std::string handler = "MJPG";  // the stream header's codec code, at most 4 bytes
  std::size_t frame_bytes = 96;  // size of every frame chunk's data
};

// An AVI with one video stream: hdrl (avih, strl with strh and strf), movi with one "00dc"
// chunk per frame, and an idx1 index. The avih data start at byte 32 and the strh data at 108.
ByteVector AviFile(const AviFields& fields);

}  // namespace rsf::synth
