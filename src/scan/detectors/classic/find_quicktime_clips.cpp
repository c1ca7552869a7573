// QuickTime: a "moov" atom followed at once by a chain of top-level "mdat", "free" and "wide"
// atoms. The clip runs from the moov's size field to the end of the chain; the atom sizes are
// read from the source.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/detectors/classic/classic_detectors.h"

namespace rsf {
namespace {

// An atom head: 32-bit big-endian size, 4-byte type; a size of 1 puts a 64-bit size after it,
// a size of 0 lets the atom run to the end of the file.
constexpr std::int64_t kAtomHeadSize = 8;
constexpr std::int64_t kLargeAtomHeadSize = 16;
constexpr std::uint32_t kSizeToEnd = 0;
constexpr std::uint32_t kSizeInLargeField = 1;
// The clip starts with the moov's size field, 4 bytes before its type.
constexpr std::int64_t kTypeAt = 4;
// Atom types that may follow the moov; any piece of this text is taken.
constexpr std::string_view kChainTypes = "mdatfreewide";

struct AtomHead {
  std::uint32_t size;
  char type_bytes[4];
  std::size_t type_length;  // up to the first zero byte
  std::string_view Type() const { return {type_bytes, type_length}; }
};

// The head of the atom at `at`, when all of it lies inside the source and can be read.
std::optional<AtomHead> ReadAtomHead(ScanState& state, std::int64_t at) {
  if (at < 0 || at > state.SourceSize() - kAtomHeadSize) return std::nullopt;
  std::vector<std::uint8_t> storage;
  ByteCursor head = state.View().ReadRecord(at, kAtomHeadSize, storage);
  const std::optional<std::uint32_t> size = head.ReadBE32();
  const std::optional<Bytes> type = head.ReadBytes(4);
  if (!size || !type) return std::nullopt;
  AtomHead atom{*size, {}, 0};
  while (atom.type_length < 4 && (*type)[atom.type_length] != 0) {
    atom.type_bytes[atom.type_length] = static_cast<char>((*type)[atom.type_length]);
    ++atom.type_length;
  }
  return atom;
}

bool IsChainType(const std::optional<AtomHead>& head) {
  return head && head->type_length > 0 && kChainTypes.find(head->Type()) != std::string_view::npos;
}

struct AtomEnd {
  std::int64_t end;
  bool chain_ends;
};

// Where the atom at `at` with stored size `size` ends, and whether the chain stops there.
// Ends beyond the source are held just past it: the next head then cannot be read, and the
// clip is cut at the source end all the same.
AtomEnd EndOfAtom(ScanState& state, std::int64_t at, std::uint32_t size) {
  const std::int64_t source_size = state.SourceSize();
  if (size == kSizeToEnd) return {source_size, true};
  std::uint64_t length = size;
  if (size == kSizeInLargeField) {
    if (at > source_size - kLargeAtomHeadSize) return {at, true};
    std::vector<std::uint8_t> storage;
    const std::optional<std::uint64_t> large = state.View().ReadRecord(at + kAtomHeadSize, 8, storage).ReadBE64();
    if (!large) return {at, true};
    length = *large;
  }
  if (length == 0) return {at, true};
  const auto room = static_cast<std::uint64_t>(source_size - at);
  if (length > room) return {source_size + 1, false};
  return {at + static_cast<std::int64_t>(length), false};
}

// The end of the chain of atoms from `at` on: while the atom there is of a chain type, step
// behind it. Where a walk goes from an atom depends on that atom alone, so walks from different
// moov atoms that reach one atom end alike, and the memo ends the later ones there at once.
std::int64_t ChainEnd(ScanState& state, std::int64_t at) {
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kQuicktimeChain);
  WalkMemo::Walk walk(memo);
  std::int64_t end = at;
  for (;;) {
    if (const std::optional<std::int64_t> known = memo.Find(end)) {
      walk.End(*known);
      return *known;
    }
    walk.Pass(end);
    const std::optional<AtomHead> next = ReadAtomHead(state, end);
    if (!IsChainType(next)) break;
    const AtomEnd step = EndOfAtom(state, end, next->size);
    end = step.end;
    if (step.chain_ends) break;
  }
  walk.End(end);
  return end;
}

}  // namespace

void FindQuicktimeClips(ScanState& state) {
  const SignatureId signature = state.Signature(kQuicktimeSignature);
  const std::int64_t source_size = state.SourceSize();

  for (std::size_t v = state.NextCandidate(signature, 0); v != kNoCandidate;
       v = state.NextCandidate(signature, v + 1)) {
    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(v) - kTypeAt;
    // No room for a size field before the source's first byte.
    if (start < 0) continue;
    state.Observer().StatusText(kStatusPanelActivity, "找到 Quicktime 头部 - 正在计算大小...");
    state.Observer().Repaint();

    // A moov that is not followed at once by a chain atom is taken for chance bytes, and the
    // rest of this window is not searched for QuickTime any more.
    const std::optional<AtomHead> moov = ReadAtomHead(state, start);
    if (!moov) return;
    const AtomEnd step = EndOfAtom(state, start, moov->size);
    if (step.chain_ends) return;
    if (!IsChainType(ReadAtomHead(state, step.end))) return;
    const std::int64_t end = ChainEnd(state, step.end);

    state.AppendClip({start, std::string(kQuicktimeExtension), std::min(end, source_size), {}}, kQuicktimeTypeName);
  }
}

}  // namespace rsf
