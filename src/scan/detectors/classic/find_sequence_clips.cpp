// Chunk-sequence clip types (MIDI): a fixed header chunk followed by a run of chunks that all
// carry the same identifier and a big-endian length. The clip ends where the run ends; the
// chunks are walked in the source.
#include <fmt/format.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "scan/detectors/classic/classic_detectors.h"

namespace rsf {
namespace {

struct ChunkRun {
  std::string_view identifier;
  std::int64_t head_size;  // identifier and length field
};

// The end of the run of chunks from `at` on. Each chunk moves the walk on by at least its head,
// so the walk ends at the source end. Where a walk goes from a chunk depends on that chunk alone,
// so walks from different headers that reach one chunk end alike, and the memo ends the later
// ones there at once.
std::int64_t RunEnd(ScanState& state, const ChunkRun& run, std::int64_t at) {
  const std::int64_t source_size = state.SourceSize();
  const auto identifier_size = static_cast<std::int64_t>(run.identifier.size());
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kChunkRun);
  WalkMemo::Walk walk(memo);
  std::vector<std::uint8_t> head(static_cast<std::size_t>(run.head_size));
  std::int64_t end = at;
  while (end >= 0 && end <= source_size - identifier_size) {
    if (const std::optional<std::int64_t> known = memo.Find(end)) {
      walk.End(*known);
      return *known;
    }
    walk.Pass(end);
    const std::int64_t wanted = std::min(run.head_size, source_size - end);
    const std::int64_t got = state.View().Read(end, head.data(), wanted);
    const Bytes chunk(head.data(), static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
    if (!MatchesAt(chunk, 0, run.identifier)) break;
    // A run chunk whose length cannot be read goes on to the source end.
    if (got < run.head_size) {
      end = source_size;
      break;
    }
    const std::uint32_t length = ReadBE32(chunk, static_cast<std::size_t>(identifier_size)).value_or(0);
    end += run.head_size + static_cast<std::int64_t>(length);
  }
  walk.End(end);
  return end;
}

}  // namespace

void FindSequenceClips(ScanState& state, const TcliptypeSequence& type) {
  const SignatureId signature = state.Signature(type.Signature);
  const std::int64_t source_size = state.SourceSize();
  const auto sub_signature_at = static_cast<std::size_t>(type.SubSignatureOffset);
  // The length directly follows the identifier: 32-bit big-endian, unsigned.
  const ChunkRun run{type.ChunkIdentifier, static_cast<std::int64_t>(type.ChunkIdentifier.size()) + type.LengthFieldSize};
  const std::string status = fmt::format("找到  {} 头部 - 正在计算大小...", type.TypeName);

  for (std::size_t p = state.NextCandidate(signature, 0); p != kNoCandidate;
       p = state.NextCandidate(signature, p + 1)) {
    if (!MatchesAt(state.Buffer(), p + sub_signature_at, type.SubSignature)) continue;
    state.Observer().StatusText(kStatusPanelActivity, status);
    state.Observer().Repaint();

    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p);
    const std::int64_t end = RunEnd(state, run, start + type.FirstChunkOffset);
    state.AppendClip({start, std::string(type.Extension), std::min(end, source_size), {}}, type.TypeName);
  }
}

}  // namespace rsf
