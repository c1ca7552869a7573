// Detectors of the clip types still to come; each finds nothing yet.
#include "scan/detectors.h"

namespace rsf {

void FindRIFFClips(ScanState&, const TcliptypeRIFF&) {}
void FindBIKClips(ScanState&, const TcliptypeBIK&) {}
void FindSmackerClips(ScanState&) {}
void FindQuicktimeClips(ScanState&) {}
void FindSequenceClips(ScanState&, const TcliptypeSequence&) {}
void FindMP3Clips(ScanState&) {}

}  // namespace rsf
