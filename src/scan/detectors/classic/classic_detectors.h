// The classic rules' detectors of the classic clip types. Each works on the current window of
// the scan state and appends what it accepts to the catalogue.
#pragma once

#include "scan/catalogue/clip_types.h"
#include "scan/engine/scan_state.h"

namespace rsf {

// Bitmap, AVI and WAVE: signature, sub-signature and a length field.
void FindRIFFClips(ScanState& state, const TcliptypeRIFF& type);
// JPEG, MPEG-1, Interplay MVE and RealMedia: from a header to the first following footer.
void FindHEFOClips(ScanState& state, const TcliptypeHEFO& type);
// Bink: a doubled frame count and a length field.
void FindBIKClips(ScanState& state, const TcliptypeBIK& type);
void FindSmackerClips(ScanState& state);
void FindQuicktimeClips(ScanState& state);
// MIDI: a header followed by a run of track chunks.
void FindSequenceClips(ScanState& state, const TcliptypeSequence& type);

}  // namespace rsf
