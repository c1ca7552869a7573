// MIDI synthesizer.
#include "synth/midi_synth.h"

#include <stdexcept>

namespace rsf::synth {
namespace {

// Longest text event written in one piece: delta 0, FF 01, a one-byte length, 96 letters.
constexpr std::size_t kLongTextEvent = 100;
constexpr std::size_t kLongestOneByteLengthEvent = 4 + 127;

void TextEvent(ByteWriter& out, std::size_t size) {
  const std::size_t letters = size - 4;
  out.U8(0).U8(0xFF).U8(0x01).U8(static_cast<std::uint8_t>(letters));
  for (std::size_t i = 0; i < letters; ++i) out.U8(static_cast<std::uint8_t>('a' + i % 26));
}

}  // namespace

ByteVector MidiTrackData(std::size_t size) {
  if (size < 4 || (size > 4 && size < 8)) throw std::invalid_argument("no track data of this size");
  ByteWriter out;
  std::size_t room = size - 4;
  while (room > 0) {
    const std::size_t piece = room <= kLongestOneByteLengthEvent ? room : kLongTextEvent;
    TextEvent(out, piece);
    room -= piece;
  }
  out.U8(0).U8(0xFF).U8(0x2F).U8(0);  // end of track
  return out.Take();
}

ByteVector MidiFile(const MidiFields& fields) {
  ByteWriter out;
  out.Text("MThd")
      .BE32(fields.header_length)
      .BE16(fields.format)
      .BE16(static_cast<std::uint16_t>(fields.track_data_sizes.size()))
      .BE16(fields.division);
  for (std::size_t track = 0; track < fields.track_data_sizes.size(); ++track) {
    const ByteVector data = MidiTrackData(fields.track_data_sizes[track]);
    out.Text("MTrk").BE32(static_cast<std::uint32_t>(data.size())).Append(data);
    if (fields.foreign_after == track) {
      out.Text(fields.foreign_id).BE32(static_cast<std::uint32_t>(fields.foreign_data_size));
      out.Fill(fields.foreign_data_size, 0x20);
    }
  }
  return out.Take();
}

}  // namespace rsf::synth
