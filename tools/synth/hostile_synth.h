// Hostile sources: data made of near-miss and repeated signatures that make a careless detector
// slow (a pass over the rest of the source per candidate) while holding few or no clips. Used
// by the hostile-source benchmark and by the tests that hold the detectors to their results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "synth/byte_writer.h"

namespace rsf::synth {

enum class HostileKind {
  kHeadersWithoutFooter,  // JPEG, MPEG-1, MVE and RealMedia headers, no footer anywhere
  kMoovChain,             // "moov" candidates whose atoms all lead into one long chain of small atoms
  kMidiChain,             // "MThd" candidates whose first chunks all lead into one long run of "MTrk" chunks
  kSmackerHugeCounts,     // Smacker headers with frame counts that reach to (or far past) the source end
  kPlausibleBitmaps,      // "BM" headers that pass the plausibility test but are longer than the source
  kMp3FailAtFourth,       // runs of three valid MPEG audio frames, the fourth header invalid
  kAllFF,                 // nothing but 0xFF bytes
  kJpegScansIntoOneRun,   // JPEG frames whose scans all lead into one marker-free run to the source end
  kMpegPacksWithoutPacket,  // one long run of MPEG packs and system headers, every pack a candidate, no packet
  kAviNestedIntoOneChain,   // nested AVI headers all ending where one long run of OpenDML "AVIX" pieces starts
  kRealMediaSharedRun,      // RealMedia headers whose data chunks all lead into one long run of packets
  kGifSubBlocksToTheEnd,    // GIF images whose data sub-blocks all run into one run without an end
  kPngCrcFailsInSharedRun,  // PNG pictures whose chunks hold together into one run, its CRCs failing
  kOpenMoviesNested,        // nested movie atoms, each ending in its own size-0 atom near the end, tables unreadable
  kStreamedWavesSteppingBack,  // streamed WAVE headers whose data chunks lie ever earlier, no "RIFF" behind them
};

inline constexpr HostileKind kHostileKinds[] = {
    HostileKind::kHeadersWithoutFooter, HostileKind::kMoovChain,        HostileKind::kMidiChain,
    HostileKind::kSmackerHugeCounts,    HostileKind::kPlausibleBitmaps, HostileKind::kMp3FailAtFourth,
    HostileKind::kAllFF,                HostileKind::kJpegScansIntoOneRun, HostileKind::kMpegPacksWithoutPacket,
    HostileKind::kAviNestedIntoOneChain, HostileKind::kRealMediaSharedRun, HostileKind::kGifSubBlocksToTheEnd,
    HostileKind::kPngCrcFailsInSharedRun, HostileKind::kOpenMoviesNested, HostileKind::kStreamedWavesSteppingBack};

std::string_view HostileName(HostileKind kind);

// True for the kinds that only the MP3 mode is hostile to.
bool HostileForMp3Mode(HostileKind kind);

// A source of exactly `size` bytes of the kind; `seed` varies the filler and the spacing.
ByteVector HostileSource(HostileKind kind, std::size_t size, std::uint64_t seed = 1);

}  // namespace rsf::synth
