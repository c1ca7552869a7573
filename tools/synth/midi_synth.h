// Standard MIDI files built in memory: the "MThd" header chunk and "MTrk" track chunks of exact
// data sizes, optionally with a chunk of another identifier among them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

// Track events of exactly `size` bytes: text meta events filling the room, then end of track.
// Sizes 4 and 8 or more can be built; others throw std::invalid_argument.
ByteVector MidiTrackData(std::size_t size);

struct MidiFields {
  std::uint16_t format = 1;
  std::uint16_t division = 96;  // ticks per quarter note
  std::vector<std::size_t> track_data_sizes = {100, 250};
  // A chunk of another identifier placed after the track with this index (from 0).
  std::optional<std::size_t> foreign_after{};
  std::string foreign_id = "XFIH";
  std::size_t foreign_data_size = 16;
  std::uint32_t header_length = 6;  // the header chunk's stored length; its data stay 6 bytes
};

// 14-byte header (length, format, track count, division), then the track chunks.
ByteVector MidiFile(const MidiFields& fields);

}  // namespace rsf::synth
