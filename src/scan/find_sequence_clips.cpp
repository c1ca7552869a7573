// Chunk-sequence clip types (MIDI): a fixed header chunk followed by a run of chunks that all
// carry the same identifier and a big-endian length. The clip ends where the run ends; the
// chunks are walked in the source.
#include <fmt/format.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "scan/detectors.h"

namespace rsf {

void FindSequenceClips(ScanState& state, const TcliptypeSequence& type) {
  const SignatureId signature = state.Signature(type.Signature);
  SourceStream& source = state.Source();
  const std::int64_t source_size = state.SourceSize();
  const auto sub_signature_at = static_cast<std::size_t>(type.SubSignatureOffset);
  const auto identifier_size = static_cast<std::int64_t>(type.ChunkIdentifier.size());
  // The length directly follows the identifier: 32-bit big-endian, unsigned.
  const std::int64_t chunk_head_size = identifier_size + type.LengthFieldSize;
  const std::string status = fmt::format("找到  {} 头部 - 正在计算大小...", type.TypeName);
  std::vector<std::uint8_t> head(static_cast<std::size_t>(chunk_head_size));

  for (std::size_t p = state.NextCandidate(signature, 0); p != kNoCandidate;
       p = state.NextCandidate(signature, p + 1)) {
    if (!MatchesAt(state.Buffer(), p + sub_signature_at, type.SubSignature)) continue;
    state.Observer().StatusText(kStatusPanelActivity, status);
    state.Observer().Repaint();

    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p);
    std::int64_t end = start + type.FirstChunkOffset;
    // Each chunk moves the walk on by at least its head, so the walk ends at the source end.
    while (end >= 0 && end <= source_size - identifier_size) {
      const std::int64_t wanted = std::min(chunk_head_size, source_size - end);
      source.Seek(end);
      const std::int64_t got = source.Read(head.data(), wanted);
      const Bytes chunk(head.data(), static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
      if (!MatchesAt(chunk, 0, type.ChunkIdentifier)) break;
      // A run chunk whose length cannot be read goes on to the source end.
      if (got < chunk_head_size) {
        end = source_size;
        break;
      }
      const std::uint32_t length = ReadBE32(chunk, static_cast<std::size_t>(identifier_size)).value_or(0);
      end += chunk_head_size + static_cast<std::int64_t>(length);
    }

    state.AppendClip({start, std::string(type.Extension), std::min(end, source_size), {}}, type.TypeName);
  }
}

}  // namespace rsf
