// Smacker: "SMK" with version byte "2" or "4" and a negative frame rate. The clip's size is
// the 104-byte header, the frame-size and frame-type tables (5 bytes per frame), the Huffman
// trees and the frames themselves, whose sizes are read from the table in the source.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "scan/detectors/classic/classic_detectors.h"

namespace rsf {
namespace {

// Header layout: frame count at 12, frame rate at 16 (negative: its high half is FF FF),
// trees size at 52; the frame-size table follows the header.
constexpr std::size_t kVersionAt = 3;
constexpr std::size_t kFrameRateHighAt = 18;
constexpr std::int64_t kFrameCountAt = 12;
constexpr std::int64_t kTreesSizeAt = 52;
constexpr std::int64_t kHeaderSize = 104;
constexpr std::int64_t kTableBytesPerFrame = 5;
// The low two bits of a stored frame size are flags (key frame, palette), not size.
constexpr std::uint32_t kFrameSizeMask = ~std::uint32_t{3};
constexpr std::int64_t kSizesPerRead = 4096;

// A 32-bit little-endian field of the source; 0 when it cannot be read. Where that happens
// the clip runs past the source end whatever the field held, and is cut there.
std::uint32_t ReadSourceLE32(SourceView& view, std::int64_t offset) {
  std::vector<std::uint8_t> storage;
  return view.ReadRecord(offset, 4, storage).ReadLE32().value_or(0);
}

// Adds the masked frame sizes of `sizes` to `sum`; true once `base` + `sum` reaches `limit`.
bool AddFrameSizes(Bytes sizes, std::int64_t base, std::int64_t limit, std::int64_t& sum) {
  for (std::size_t at = 0; FitsIn(sizes.size(), at, 4); at += 4) {
    sum += ReadLE32(sizes, at).value_or(0) & kFrameSizeMask;
    if (base + sum >= limit) return true;
  }
  return false;
}

// The end of the clip at `start`, cut at the source end: header, tables, trees and the sum of
// the `count` frame sizes of the table at `table`, flag bits masked off. Only the part of the
// table inside the source is read, in blocks of 4096 sizes; a block that cannot be read whole
// ends the sum with the sizes it delivered. No term is negative, so once the end reaches the
// source end nothing more can change it: a table that runs on past the source end, or a frame
// size as large as the source, is not read any further.
std::int64_t ClipEnd(SourceView& view, std::int64_t start, std::int64_t count, std::int64_t trees_size) {
  const std::int64_t source_size = view.Size();
  const std::int64_t table = start + kHeaderSize;
  const std::int64_t base = table + kTableBytesPerFrame * count + trees_size;
  if (base >= source_size) return source_size;
  const std::int64_t readable = std::clamp<std::int64_t>((source_size - table) / 4, 0, count);
  std::vector<std::uint8_t> block;
  std::int64_t sum = 0;
  for (std::int64_t done = 0; done < readable;) {
    const std::int64_t offset = table + done * 4;
    const std::int64_t wanted = std::min(readable - done, kSizesPerRead) * 4;
    if (const std::optional<Bytes> sizes = view.Peek(offset, wanted)) {
      if (AddFrameSizes(*sizes, base, source_size, sum)) return source_size;
      done += wanted / 4;
      continue;
    }
    block.resize(static_cast<std::size_t>(wanted));
    const std::int64_t got = view.Read(offset, block.data(), wanted);
    if (got <= 0) break;
    if (AddFrameSizes(Bytes(block.data(), static_cast<std::size_t>(got)), base, source_size, sum)) return source_size;
    if (got < wanted) break;
    done += wanted / 4;
  }
  return std::min(base + sum, source_size);
}

bool IsSmackerVersion(Bytes buffer, std::size_t at) { return MatchesAt(buffer, at, "2") || MatchesAt(buffer, at, "4"); }

}  // namespace

void FindSmackerClips(ScanState& state) {
  const SignatureId signature = state.Signature(kSmackerSignature);

  for (std::size_t p = state.NextCandidate(signature, 0); p != kNoCandidate;
       p = state.NextCandidate(signature, p + 1)) {
    const Bytes buffer = state.Buffer();
    // A header cut by the window's end lies whole in the next window.
    if (ReadLE16(buffer, p + kFrameRateHighAt) != std::uint16_t{0xFFFF}) continue;
    if (!IsSmackerVersion(buffer, p + kVersionAt)) continue;
    state.Observer().StatusText(kStatusPanelActivity, "找到 Smacker 头部 - 正在计算大小...");
    state.Observer().Repaint();

    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p);
    SourceView& view = state.View();
    const auto stored_count = static_cast<std::int32_t>(ReadSourceLE32(view, start + kFrameCountAt));
    const std::int64_t frames = std::max<std::int64_t>(stored_count, 0);
    const std::int64_t trees_size = ReadSourceLE32(view, start + kTreesSizeAt);
    const std::int64_t end = ClipEnd(view, start, frames, trees_size);

    state.AppendClip({start, std::string(kSmackerExtension), end, {}}, kSmackerTypeName);
  }
}

}  // namespace rsf
