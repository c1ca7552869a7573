// Bitmap, AVI, WAVE, Bink, Smacker, QuickTime and MIDI clips for the demo source and the
// benchmarks: small, structurally valid files, each found as one clip by a normal scan.
#pragma once

#include <cstdint>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

// A few clips of each of the seven types, in that order; `seed` varies their sizes and
// payloads. Each clip ends where its own length fields say, so random filler may follow it.
std::vector<ByteVector> ExtraDemoClips(std::uint64_t seed);

}  // namespace rsf::synth
