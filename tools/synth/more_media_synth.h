// Creative Voice, Ogg and FLIC files built in memory: the sound and animation formats of the
// further clip types that no Debian tool writes or that tests need in a particular shape.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

// A VOC file of 8-bit sound in a type 1 block (or, for 16-bit or stereo sound, a type 9
// block), a marker block and the terminator.
ByteVector VocFile(std::uint32_t rate, std::uint8_t bits, std::uint8_t channels, std::uint32_t sample_bytes);

// One Ogg page of the stream `serial` with the given packet data (laced into segments) and
// header flags (1 continued, 2 first page, 4 last page), its CRC filled in.
ByteVector OggPage(std::uint32_t serial, std::uint32_t sequence, std::uint8_t flags, const ByteVector& data);

// An Ogg Vorbis stream: its identification header on the first page, `pages` more pages of
// data, the last one flagged as the stream's last.
ByteVector OggVorbisFile(std::uint32_t rate, std::uint8_t channels, int pages, std::uint32_t serial = 0x5EED);

// A FLI (AF11) or FLC (AF12) animation of `frames` frame chunks (plus the ring frame) and, for
// FLC, a prefix chunk.
ByteVector FlicFile(std::uint16_t width, std::uint16_t height, std::uint16_t frames, bool flc);

}  // namespace rsf::synth
