// IFF "FORM" files built in memory: AIFF sound, ILBM pictures, 8SVX sound and XMIDI music
// (an "XDIR" form and a "CAT " of "XMID" forms), sizes big-endian, chunks padded to even.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "synth/byte_writer.h"

namespace rsf::synth {

// One chunk: identifier, big-endian size, data, a pad byte when the size is odd.
ByteVector IffChunk(const std::string& id, const ByteVector& data);

// COMM (channels, frames, bits, the rate as an 80-bit float) and SSND with the frames' bytes.
ByteVector AiffFile(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits, std::uint32_t frames);

// BMHD and BODY (uncompressed planes).
ByteVector IlbmFile(std::uint16_t width, std::uint16_t height, std::uint8_t planes);

// VHDR and BODY with `samples` 8-bit samples.
ByteVector Svx8File(std::uint16_t rate, std::uint32_t samples);

// `sequences` "XMID" forms, each with a TIMB and an EVNT chunk of `event_bytes` bytes.
ByteVector XmidiFile(std::uint16_t sequences, std::size_t event_bytes = 41);

}  // namespace rsf::synth
