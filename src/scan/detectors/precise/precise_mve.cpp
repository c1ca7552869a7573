// Interplay MVE by its chunks: after the 26-byte file header, chunks of a 16-bit length and a
// 16-bit type, each followed by its opcodes; the clip ends after the end chunk (type 5), or
// after the last complete chunk where the chunks break off first. The memo keeps where the
// chunks from each one end.
#include "scan/detectors/precise/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kFileHeader = 26;
constexpr std::int64_t kChunkHead = 4;
constexpr std::uint16_t kEndChunk = 5;
constexpr std::uint16_t kHighestChunkType = 0x0F;

std::optional<std::int64_t> MveEnd(ScanState& state, std::int64_t start) {
  SourceView& view = state.View();
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(start, kFileHeader, storage);
  const std::optional<Bytes> signature = head.ReadBytes(kMveHeader.size());
  const std::optional<std::uint16_t> word1 = head.ReadLE16(), word2 = head.ReadLE16();
  if (!signature || !MatchesAt(*signature, 0, kMveHeader) || word1 != std::uint16_t{0x0100} ||
      word2 != std::uint16_t{0x1133})
    return std::nullopt;

  WalkMemo& memo = state.Walks(ScanState::WalkKind::kMveChunks);
  WalkMemo::Walk walk(memo);
  std::int64_t end = start + kFileHeader;
  for (;;) {
    if (const std::optional<std::int64_t> known = memo.Find(end)) {
      end = *known;
      break;
    }
    walk.Pass(end);
    ByteCursor chunk = view.ReadRecord(end, kChunkHead, storage);
    const std::optional<std::uint16_t> length = chunk.ReadLE16();
    const std::optional<std::uint16_t> type = chunk.ReadLE16();
    if (!length || !type || *type > kHighestChunkType || end + kChunkHead + *length > view.Size()) break;
    end += kChunkHead + *length;
    if (*type == kEndChunk) break;
  }
  walk.End(end);
  if (end == start + kFileHeader) return std::nullopt;
  return end;
}

}  // namespace

void FindPreciseMveClips(ScanState& state) {
  EachWalkedCandidate(state, {kMveHeader}, 0, kMveType.Extension, kMveType.TypeName,
                      [&](std::int64_t start) { return MveEnd(state, start); }, NoInfo);
}

}  // namespace rsf
