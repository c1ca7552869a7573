// Standard MIDI files by their track count: the header chunk ("MThd", length 6, format, number
// of tracks, division), then chunks by their lengths until as many "MTrk" chunks as the header
// announces have passed; chunks of other names between them are stepped over. A file cut short
// ends after its last complete chunk. A RIFF-wrapped MIDI file ("RIFF....RMID" holding a "data"
// chunk with the MIDI file) is a MIDI clip as a whole; the file inside it is part of it.
//
// Where the next track chunk from a chunk ends does not depend on where the walk came from, so
// the memo keeps it for the chunks passed: a walk costs a step per track of its file, however
// many other chunks lie between them, and those are stepped through once.
#include "scan/detectors/precise/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kHeaderSize = 14;
constexpr std::int64_t kChunkHead = 8;

struct ChunkHead {
  bool track = false;
  std::int64_t end = 0;
};

std::optional<ChunkHead> ChunkAt(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(at, kChunkHead, storage);
  const std::optional<Bytes> id = head.ReadBytes(4);
  const std::optional<std::uint32_t> length = head.ReadBE32();
  if (!id || !length) return std::nullopt;
  if (!std::all_of(id->begin(), id->end(), [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; })) return std::nullopt;
  const std::int64_t end = at + kChunkHead + *length;
  if (end > view.Size()) return std::nullopt;
  return ChunkHead{MatchesAt(*id, 0, "MTrk"), end};
}

// From the chunk at `at`: the end of the next track chunk, or where the chunks end when no
// track chunk comes first (then `track` is false).
struct NextTrack {
  std::int64_t end;
  bool track;
};

NextTrack NextTrackFrom(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kMidiChunks);
  WalkMemo::Walk walk(memo);
  std::int64_t packed = 0;
  for (std::int64_t pos = at;;) {
    if (const std::optional<std::int64_t> known = memo.Find(pos)) {
      packed = *known;
      break;
    }
    walk.Pass(pos);
    const std::optional<ChunkHead> chunk = ChunkAt(view, pos);
    if (!chunk) {
      packed = WalkMemo::Pack(pos, 0);
      break;
    }
    if (chunk->track) {
      packed = WalkMemo::Pack(chunk->end, 1);
      break;
    }
    pos = chunk->end;
  }
  walk.End(packed);
  return {WalkMemo::EndOf(packed), WalkMemo::FlagsOf(packed) != 0};
}

// The end of the file whose first chunk after the header stands at `at` and which announces
// `tracks` track chunks; nullopt when not one of them lies whole in the source.
std::optional<std::int64_t> TracksEnd(ScanState& state, std::int64_t at, std::int64_t tracks) {
  std::int64_t end = at;
  std::int64_t found = 0;
  while (found < tracks) {
    const NextTrack next = NextTrackFrom(state, end);
    end = next.end;
    if (!next.track) break;
    ++found;
  }
  if (found == 0) return std::nullopt;
  return end;
}

std::optional<std::int64_t> MidiEnd(ScanState& state, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  ByteCursor head = state.View().ReadRecord(start, kHeaderSize, storage);
  if (!head.Skip(4)) return std::nullopt;
  const std::optional<std::uint32_t> length = head.ReadBE32();
  const std::optional<std::uint16_t> format = head.ReadBE16();
  const std::optional<std::uint16_t> tracks = head.ReadBE16();
  if (!length || *length != 6 || !format || *format > 2 || !tracks || *tracks == 0) return std::nullopt;
  return TracksEnd(state, start + kHeaderSize, *tracks);
}

std::optional<std::int64_t> RmidEnd(ScanState& state, std::int64_t start) {
  SourceView& view = state.View();
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(start, 20, storage);
  if (!head.Skip(4)) return std::nullopt;
  const std::optional<std::uint32_t> size = head.ReadLE32();
  const std::optional<Bytes> form = head.ReadBytes(8);
  if (!size || !form || !MatchesAt(*form, 0, "RMIDdata")) return std::nullopt;
  const std::int64_t end = start + kChunkHead + *size + (*size & 1);
  if (end - (*size & 1) > view.Size() || !MidiEnd(state, start + 20)) return std::nullopt;
  return std::min(end, view.Size());
}

}  // namespace

void FindPreciseMidiClips(ScanState& state) {
  EachWalkedCandidate(state, {kRmidSignature}, 0, kMidiType.Extension, kMidiType.TypeName,
                      [&](std::int64_t start) { return RmidEnd(state, start); }, NoInfo);
  EachWalkedCandidate(state, {kMidiType.Signature}, 0, kMidiType.Extension, kMidiType.TypeName,
                      [&](std::int64_t start) { return MidiEnd(state, start); }, NoInfo);
}

}  // namespace rsf
