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

// What the precise detectors start from besides the classic types' headers.
// QuickTime and MP4 top-level atom types, 4 bytes into the file (after the atom's size).
inline constexpr std::string_view kQuicktimeAtomSignatures[] = {"ftyp"sv, "moov"sv, "mdat"sv};
inline constexpr std::int64_t kAtomTypeOffset = 4;
// Start of image and the first byte of any marker segment: JFIF, Exif and plain JPEG files alike.
inline constexpr std::string_view kJpegStartSignature = "\xFF\xD8\xFF"sv;
// Program streams start with a pack header, video elementary streams with a sequence header.
inline constexpr std::string_view kMpegSequenceHeader = "\x00\x00\x01\xB3"sv;
inline constexpr std::string_view kPreciseMpegSignatures[] = {kMpegType.Header, kMpegSequenceHeader};
// Old RealAudio files (versions 3 to 5).
inline constexpr std::string_view kRealAudioSignature = ".ra\xFD"sv;
// MIDI files wrapped in a RIFF "RMID" form.
inline constexpr std::string_view kRmidSignature = "RIFF"sv;

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

}  // namespace rsf
