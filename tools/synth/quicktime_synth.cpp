// QuickTime synthesizer.
#include "synth/quicktime_synth.h"

#include <stdexcept>

namespace rsf::synth {

ByteVector Atom(std::string_view type, const ByteVector& payload, AtomSize size) {
  if (type.size() != 4) throw std::invalid_argument("an atom type has 4 bytes");
  ByteWriter out;
  switch (size) {
    case AtomSize::k32Bit:
      out.BE32(static_cast<std::uint32_t>(8 + payload.size())).Text(type);
      break;
    case AtomSize::k64Bit:
      out.BE32(1).Text(type).BE64(16 + payload.size());
      break;
    case AtomSize::kToEnd:
      out.BE32(0).Text(type);
      break;
  }
  return out.Append(payload).Take();
}

ByteVector MoovAtom(std::uint32_t time_scale, std::uint32_t duration) {
  ByteWriter mvhd;
  mvhd.BE32(0)  // version and flags
      .BE32(0)  // creation time
      .BE32(0)  // modification time
      .BE32(time_scale)
      .BE32(duration)
      .BE32(0x00010000)  // preferred rate 1.0
      .BE16(0x0100)      // preferred volume 1.0
      .Fill(10, 0);
  // Identity matrix: 1.0, 0, 0 / 0, 1.0, 0 / 0, 0, 1.0 (the last column in 2.30 fixed point).
  for (const std::uint32_t v : {0x00010000u, 0u, 0u, 0u, 0x00010000u, 0u, 0u, 0u, 0x40000000u}) mvhd.BE32(v);
  mvhd.Fill(24, 0)  // preview, poster, selection and current times
      .BE32(1);     // next track id
  return Atom("moov", Atom("mvhd", mvhd.Take()));
}

ByteVector QuicktimeMovie(const std::vector<ChainAtom>& chain, bool moov_first) {
  ByteWriter atoms;
  for (const ChainAtom& atom : chain) {
    ByteVector payload(atom.payload_bytes);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>((i * 37 + 5) % 251);
    atoms.Append(Atom(atom.type, payload, atom.size));
  }
  ByteWriter out;
  if (moov_first) out.Append(MoovAtom());
  out.Append(atoms.Take());
  if (!moov_first) out.Append(MoovAtom());
  return out.Take();
}

}  // namespace rsf::synth
