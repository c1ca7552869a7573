// How walking detectors take their candidates: every occurrence of their signatures in the
// window, in source order, each walked to its clip's end by the detector's own walk.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scan/engine/scan_state.h"

namespace rsf {

// Where a precise walk ended, and whether the structure proved that end (a size that closes the
// chain, an end code) or the walk simply ran out of structure: an open end (ScanState::AppendOpenClip).
struct WalkEnd {
  std::int64_t end = 0;
  bool open = false;
  // With an open end: how far the clip's own elements reach (an atom of size 0 proves its header,
  // not its body); -1: up to `end`. What lies there is part of the clip, as in any clip.
  std::int64_t proven_to = -1;
};

inline WalkEnd AsWalkEnd(std::int64_t end) { return {end, false}; }
inline WalkEnd AsWalkEnd(const WalkEnd& end) { return end; }

// Runs `walk` (the end of the clip at a source offset, or nullopt) for every occurrence of any
// of `signatures` in the window, in the order they stand there, the clip starting
// `offset_in_clip` bytes before the signature, and appends what it accepts with the information
// text `info` gives for it. In source order, an outer clip is listed before what it holds.
// A candidate that starts inside a clip of the same extension already walked is passed over:
// it is part of that clip, and walking it again would make many candidates inside one long
// clip cost a walk over it each. `walk` may also return a WalkEnd: a clip with an open end hides
// nothing beyond the elements its walk proved, so candidates there are walked.
template <typename Walk, typename Info>
void EachWalkedCandidate(ScanState& state, std::span<const std::string_view> signatures, std::int64_t offset_in_clip,
                         std::string_view extension, std::string_view type_name, Walk walk, Info info) {
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
    const auto walked_to = walk(start);
    if (!walked_to) continue;
    const WalkEnd end = AsWalkEnd(*walked_to);
    if (end.open) {
      const std::int64_t proven = end.proven_to < 0 ? end.end : end.proven_to;
      walked.Add(start, proven);
      state.AppendOpenClip({start, std::string(extension), end.end, info(start, end.end)}, type_name, proven);
      continue;
    }
    walked.Add(start, end.end);
    state.AppendClip({start, std::string(extension), end.end, info(start, end.end)}, type_name);
  }
}

template <typename Walk, typename Info>
void EachWalkedCandidate(ScanState& state, std::initializer_list<std::string_view> signatures,
                         std::int64_t offset_in_clip, std::string_view extension, std::string_view type_name, Walk walk,
                         Info info) {
  EachWalkedCandidate(state, std::span<const std::string_view>(signatures.begin(), signatures.size()), offset_in_clip,
                      extension, type_name, walk, info);
}

inline std::string NoInfo(std::int64_t, std::int64_t) { return {}; }

// What a detector's walk accepted at a candidate: where the clip ends, and its information text.
struct WalkedClip {
  std::int64_t end = 0;
  std::string info;
};

// EachWalkedCandidate for detectors whose walk gives the information text with the end:
// `clip_at(start)` returns the WalkedClip, or nothing for no clip.
template <typename ClipAt>
void EachWalkedClip(ScanState& state, std::span<const std::string_view> signatures, std::int64_t offset_in_clip,
                    std::string_view extension, std::string_view type_name, ClipAt clip_at) {
  std::optional<WalkedClip> found;
  EachWalkedCandidate(
      state, signatures, offset_in_clip, extension, type_name,
      [&](std::int64_t start) -> std::optional<std::int64_t> {
        found = clip_at(start);
        if (!found) return std::nullopt;
        return found->end;
      },
      [&](std::int64_t, std::int64_t) { return found->info; });
}

}  // namespace rsf
