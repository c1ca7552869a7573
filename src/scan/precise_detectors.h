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

#include "scan/clip_types.h"
#include "scan/scan_state.h"

namespace rsf {

void FindPreciseQuicktimeClips(ScanState& state);
void FindPreciseBitmapClips(ScanState& state);
// AVI (with its OpenDML "AVIX" pieces) and WAVE (also streamed ones, by their chunks).
void FindPreciseRiffClips(ScanState& state, const TcliptypeRIFF& type);
void FindPreciseJpegClips(ScanState& state);
// MPEG-1 and MPEG-2 program streams.
void FindPreciseMpegClips(ScanState& state);
void FindPreciseMveClips(ScanState& state);
// RealMedia files and old RealAudio (".ra", versions 3 to 5) files.
void FindPreciseRealMediaClips(ScanState& state);
// Standard MIDI files by their track count, and RIFF-wrapped ones (RMID).
void FindPreciseMidiClips(ScanState& state);

// The walks themselves, for the tests: the end of the clip whose signature stands at `start`,
// or nullopt when no clip of the type starts there.
std::optional<std::int64_t> JpegEnd(ScanState& state, std::int64_t start);
std::optional<std::int64_t> MpegEnd(ScanState& state, std::int64_t start);

// Runs `walk` (the end of the clip at a source offset, or nullopt) for every occurrence of any
// of `signatures` in the window, in the order they stand there, the clip starting
// `offset_in_clip` bytes before the signature, and appends what it accepts with the information
// text `info` gives for it. In source order, an outer clip is listed before what it holds.
// A candidate that starts inside a clip of the same extension already walked is passed over:
// it is part of that clip, and walking it again would make many candidates inside one long
// clip cost a walk over it each.
template <typename Walk, typename Info>
void EachWalkedCandidate(ScanState& state, std::initializer_list<std::string_view> signatures,
                         std::int64_t offset_in_clip, std::string_view extension, std::string_view type_name, Walk walk,
                         Info info) {
  ClipNesting& walked = state.WalkedClips(extension);
  std::vector<SignatureId> ids;
  std::vector<std::size_t> next;
  for (const std::string_view signature : signatures) {
    ids.push_back(state.Signature(signature));
    next.push_back(state.NextCandidate(ids.back(), 0));
  }
  for (;;) {
    const auto first = std::min_element(next.begin(), next.end());
    const std::size_t p = *first;
    if (p == kNoCandidate) return;
    const auto which = static_cast<std::size_t>(first - next.begin());
    next[which] = state.NextCandidate(ids[which], p + 1);
    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p) - offset_in_clip;
    if (start < 0 || walked.Covered(start, start + 1)) continue;
    const std::optional<std::int64_t> end = walk(start);
    if (!end) continue;
    walked.Add(start, *end);
    state.AppendClip({start, std::string(extension), *end, info(start, *end)}, type_name);
  }
}

inline std::string NoInfo(std::int64_t, std::int64_t) { return {}; }

}  // namespace rsf
