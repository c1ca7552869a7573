// MP3 clips for the demo source and the benchmarks: runs of synthesized MPEG audio frames, one of
// them followed by an ID3 version 1 tag with a Chinese title.
#pragma once

#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

// A few frame runs of different versions, layers, bitrates and channel modes, each found as one
// clip in MP3 mode: a constant-bitrate run with an ID3 version 1 tag (GBK title "中文歌曲"), a
// variable-bitrate MPEG-2 mono run and an MPEG-1 Layer II stereo run.
std::vector<ByteVector> Mp3DemoClips();

}  // namespace rsf::synth
