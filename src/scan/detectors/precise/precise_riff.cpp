// RIFF clips by their chunks. An AVI ends after its RIFF chunk (its size padded to even) and
// the OpenDML "RIFF....AVIX" pieces that follow it at once. A WAVE ends after its RIFF chunk.
// One whose RIFF size is 0 or FFFFFFFF (written by a program that could not go back), or runs
// past the source end, is walked by its chunks (odd sizes padded): it ends after its last
// complete chunk, and a data chunk of such a size runs up to the next RIFF file, or to the
// source end (sound has no structure to end it by); its end is open. Clips carry the
// information text of their header, as under the classic rules.
#include "clipinfo/maldoavi.h"
#include "clipinfo/maldowav.h"
#include "scan/detectors/precise/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kChunkHead = 8;

struct RiffHead {
  std::string form;
  std::uint32_t size = 0;
};

std::optional<RiffHead> RiffAt(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(at, 12, storage);
  const std::optional<Bytes> id = head.ReadBytes(4);
  const std::optional<std::uint32_t> size = head.ReadLE32();
  const std::optional<Bytes> form = head.ReadBytes(4);
  if (!id || !size || !form || !MatchesAt(*id, 0, "RIFF")) return std::nullopt;
  return RiffHead{std::string(form->begin(), form->end()), *size};
}

// Where a chunk of `size` bytes of body at `at` ends, with its pad byte.
std::int64_t ChunkEnd(std::int64_t at, std::int64_t size) { return at + kChunkHead + size + (size & 1); }

bool IsChunkId(Bytes id) {
  return std::all_of(id.begin(), id.end(), [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

// The end of the chunks from `at` (inside a RIFF form) on: after the last one that lies whole in
// the source, or at the source end for a data chunk of an unknown size.
std::int64_t EndOfChunks(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kRiffChunks);
  WalkMemo::Walk walk(memo);
  std::int64_t end = at;
  for (;;) {
    if (const std::optional<std::int64_t> known = memo.Find(end)) {
      end = *known;
      break;
    }
    walk.Pass(end);
    std::vector<std::uint8_t> storage;
    ByteCursor head = view.ReadRecord(end, kChunkHead, storage);
    const std::optional<Bytes> id = head.ReadBytes(4);
    const std::optional<std::uint32_t> size = head.ReadLE32();
    if (!id || !size || !IsChunkId(*id)) break;
    const bool unknown_size = *size == 0 || *size == 0xFFFFFFFFu;
    if (MatchesAt(*id, 0, "data") && (unknown_size || ChunkEnd(end, *size) > view.Size())) {
      end = state.FindInSource(state.Footer("RIFF"), end + kChunkHead).value_or(view.Size());
      break;
    }
    const std::int64_t next = ChunkEnd(end, *size);
    // A pad byte missing at the very end of the source still leaves the chunk whole.
    if (next - (*size & 1) > view.Size()) break;
    end = std::min(next, view.Size());
  }
  walk.End(end);
  return end;
}

std::optional<std::int64_t> AviEnd(ScanState& state, std::int64_t start) {
  SourceView& view = state.View();
  const std::optional<RiffHead> riff = RiffAt(view, start);
  if (!riff || riff->form != "AVI ") return std::nullopt;
  std::int64_t end = ChunkEnd(start, riff->size);
  if (end - (riff->size & 1) > view.Size()) return std::nullopt;
  end = std::min(end, view.Size());
  // OpenDML: further RIFF forms of type "AVIX" follow the first at once.
  for (std::optional<RiffHead> piece = RiffAt(view, end); piece && piece->form == "AVIX"; piece = RiffAt(view, end)) {
    const std::int64_t piece_end = ChunkEnd(end, piece->size);
    if (piece_end - (piece->size & 1) > view.Size()) break;
    end = std::min(piece_end, view.Size());
  }
  return end;
}

// A WAVE of a size that fits the source ends by it; one walked by its chunks has an open end.
std::optional<WalkEnd> WaveEnd(ScanState& state, std::int64_t start) {
  SourceView& view = state.View();
  const std::optional<RiffHead> riff = RiffAt(view, start);
  if (!riff || riff->form != "WAVE") return std::nullopt;
  // A form of odd size is not padded: the pad byte would stand outside the file, and writers that
  // count an odd size write none. (Chunks inside it, and AVI forms followed by AVIX pieces, are.)
  const std::int64_t stated = start + kChunkHead + riff->size;
  if (riff->size != 0 && riff->size != 0xFFFFFFFFu && stated <= view.Size()) return WalkEnd{stated, false};
  const std::int64_t end = EndOfChunks(state, start + 12);
  if (end <= start + 12) return std::nullopt;
  return WalkEnd{end, true, start + 12};
}

// The first `count` bytes of the clip at `start`; what lies past the source end reads as zero.
std::vector<std::uint8_t> Head(SourceView& view, std::int64_t start, std::size_t count) {
  std::vector<std::uint8_t> head(count, 0);
  const std::int64_t got = view.Read(start, head.data(), static_cast<std::int64_t>(count));
  std::fill(head.begin() + std::max<std::int64_t>(got, 0), head.end(), 0);
  return head;
}

}  // namespace

void FindPreciseRiffClips(ScanState& state, const TcliptypeRIFF& type) {
  const bool avi = type.TypeName == kAviType.TypeName;
  SourceView& view = state.View();
  // The classic sub-signature still opens the form: "AVI LIST", "WAVEfmt ".
  auto opens = [&](std::int64_t start) {
    std::vector<std::uint8_t> storage;
    ByteCursor form = view.ReadRecord(start + type.SubSignatureOffset, static_cast<std::int64_t>(type.SubSignature.size()), storage);
    const std::optional<Bytes> bytes = form.ReadBytes(type.SubSignature.size());
    return bytes && MatchesAt(*bytes, 0, type.SubSignature);
  };
  EachWalkedCandidate(
      state, {type.Signature}, 0, type.Extension, type.TypeName,
      [&](std::int64_t start) -> std::optional<WalkEnd> {
        if (!opens(start)) return std::nullopt;
        if (!avi) return WaveEnd(state, start);
        const std::optional<std::int64_t> end = AviEnd(state, start);
        if (!end) return std::nullopt;
        return WalkEnd{*end, false};
      },
      [&](std::int64_t start, std::int64_t) {
        return avi ? GetAVIInfo(Head(view, start, kAviInfoBytes)) : GetWAVInfo(Head(view, start, kWavInfoBytes));
      });
}

}  // namespace rsf
