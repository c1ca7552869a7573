// The demo source: synthesized clips of every type laid into random filler, some of them
// straddling window boundaries, together with the boundaries a scan must report.
#pragma once

#include <cstdint>
#include <vector>

#include "synth/random_filler.h"

namespace rsf::synth {

struct DemoSource {
  ByteVector bytes;
  std::vector<PlacedClip> clips;      // found in normal mode, in source order
  std::vector<PlacedClip> mp3_clips;  // found in MP3 mode, in source order
};

DemoSource BuildDemoSource(std::uint64_t seed = 2026);

}  // namespace rsf::synth
