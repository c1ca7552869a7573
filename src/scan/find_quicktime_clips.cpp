// QuickTime: a "moov" atom followed at once by a chain of top-level "mdat", "free" and "wide"
// atoms. The clip runs from the moov's size field to the end of the chain; the atom sizes are
// read from the source.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scan/detectors.h"

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
  std::string type;  // up to the first zero byte
};

// The head of the atom at `at`, when all of it lies inside the source and can be read.
std::optional<AtomHead> ReadAtomHead(SourceStream& source, std::int64_t source_size, std::int64_t at) {
  if (at < 0 || at > source_size - kAtomHeadSize) return std::nullopt;
  std::uint8_t head[kAtomHeadSize] = {};
  source.Seek(at);
  if (source.Read(head, kAtomHeadSize) != kAtomHeadSize) return std::nullopt;
  const Bytes bytes(head);
  return AtomHead{ReadBE32(bytes, 0).value_or(0), TextUpToZero(bytes.subspan(kTypeAt, 4))};
}

bool IsChainType(const std::optional<AtomHead>& head) {
  return head && !head->type.empty() && kChainTypes.find(head->type) != std::string_view::npos;
}

struct AtomEnd {
  std::int64_t end;
  bool chain_ends;
};

// Where the atom at `at` with stored size `size` ends, and whether the chain stops there.
// Ends beyond the source are held just past it: the next head then cannot be read, and the
// clip is cut at the source end all the same.
AtomEnd EndOfAtom(SourceStream& source, std::int64_t source_size, std::int64_t at, std::uint32_t size) {
  if (size == kSizeToEnd) return {source_size, true};
  std::uint64_t length = size;
  if (size == kSizeInLargeField) {
    std::uint8_t field[8] = {};
    if (at > source_size - kLargeAtomHeadSize) return {at, true};
    source.Seek(at + kAtomHeadSize);
    if (source.Read(field, 8) != 8) return {at, true};
    length = ReadBE64(Bytes(field), 0).value_or(0);
  }
  if (length == 0) return {at, true};
  const auto room = static_cast<std::uint64_t>(source_size - at);
  if (length > room) return {source_size + 1, false};
  return {at + static_cast<std::int64_t>(length), false};
}

}  // namespace

void FindQuicktimeClips(ScanState& state) {
  const SignatureId signature = state.Signature(kQuicktimeSignature);
  SourceStream& source = state.Source();
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
    const std::optional<AtomHead> moov = ReadAtomHead(source, source_size, start);
    if (!moov) return;
    AtomEnd step = EndOfAtom(source, source_size, start, moov->size);
    if (step.chain_ends) return;
    std::int64_t end = step.end;
    std::optional<AtomHead> next = ReadAtomHead(source, source_size, end);
    if (!IsChainType(next)) return;

    while (IsChainType(next)) {
      step = EndOfAtom(source, source_size, end, next->size);
      end = step.end;
      if (step.chain_ends) break;
      next = ReadAtomHead(source, source_size, end);
    }

    state.AppendClip({start, std::string(kQuicktimeExtension), std::min(end, source_size), {}}, kQuicktimeTypeName);
  }
}

}  // namespace rsf
