// The precise rules: a detector for each classic type that walks the clip's own structure from
// its signature to its exact end, over the source view, linear in the bytes it covers and never
// reading past the source end. They list clips with the classic types' names and extensions.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>
#include <optional>
#include <string_view>

#include "scan/catalogue/clip_types.h"
#include "scan/engine/scan_state.h"
#include "scan/walk/walked_candidates.h"

namespace rsf {

void FindPreciseQuicktimeClips(ScanState& state);
void FindPreciseBitmapClips(ScanState& state);
// AVI (with its OpenDML "AVIX" pieces) and WAVE (also streamed ones, by their chunks).
void FindPreciseRiffClips(ScanState& state, const TcliptypeRIFF& type);
void FindPreciseJpegClips(ScanState& state);
// MPEG-1 and MPEG-2 program streams, and MPEG-1 and MPEG-2 video elementary streams.
void FindPreciseMpegClips(ScanState& state);
void FindPreciseMveClips(ScanState& state);
// RealMedia files and old RealAudio (".ra", versions 3 to 5) files.
void FindPreciseRealMediaClips(ScanState& state);
// Standard MIDI files by their track count, and RIFF-wrapped ones (RMID).
void FindPreciseMidiClips(ScanState& state);

// The JPEG walk itself: the end of the image whose signature stands at `start`, or nullopt
// when none starts there.
std::optional<std::int64_t> JpegEnd(ScanState& state, std::int64_t start);

}  // namespace rsf
