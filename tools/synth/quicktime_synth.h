// QuickTime movies built in memory: atoms with 32-bit, 64-bit or run-to-end sizes, a movie
// atom with its header, and chains of top-level atoms around it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

enum class AtomSize {
  k32Bit,  // the usual 32-bit size
  k64Bit,  // size field 1, then the 64-bit size after the type
  kToEnd,  // size field 0: the atom runs to the end of the file
};

// One atom: big-endian size, 4-byte type, payload.
ByteVector Atom(std::string_view type, const ByteVector& payload, AtomSize size = AtomSize::k32Bit);

// A "moov" atom holding a 100-byte movie header ("mvhd") with the time scale and duration.
ByteVector MoovAtom(std::uint32_t time_scale = 600, std::uint32_t duration = 600);

struct ChainAtom {
  std::string type;            // "mdat", "free", "wide", or anything else
  std::size_t payload_bytes;   // pattern bytes
  AtomSize size = AtomSize::k32Bit;
};

// The movie atom followed by `chain`, or (moov_first false) the chain followed by the movie atom.
ByteVector QuicktimeMovie(const std::vector<ChainAtom>& chain, bool moov_first = true);

}  // namespace rsf::synth
