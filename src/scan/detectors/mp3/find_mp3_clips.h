// MP3 mode's detector: runs of MPEG audio frames, optionally followed by an ID3 version 1 tag.
#pragma once

#include "scan/engine/scan_state.h"

namespace rsf {

void FindMP3Clips(ScanState& state);

}  // namespace rsf
