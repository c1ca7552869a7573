// RealMedia by its top-level chunks: ".RMF", then PROP, MDPR, CONT, DATA, INDX and the
// metadata chunks, each by its 32-bit size; the clip ends after the last chunk of the chain, its
// index included, and after the 8 zero bytes some muxers end a file with (unless more zeros
// follow: then they are padding behind the clip). A data chunk is
// walked by its packets (16-bit version and length each), as many as it counts, or as long as
// they follow one another when its count was never filled in: its size field is not always
// right. The properties chunk tells where the first index chunk stands: a chain that stops short
// of an index the properties place further on goes on there. Old RealAudio files (".ra" FD,
// versions 3 to 5) carry no chunks; their size is the header's length and the audio length the
// header gives, and the "RaTC" trailer some writers put after the audio.
#include <array>

#include "scan/walk/chain_walk.h"
#include "scan/detectors/precise/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::array<std::string_view, 9> kChunkIds = {".RMF", "PROP", "MDPR", "CONT", "DATA",
                                                      "INDX", "RMMD", "RJMD", "RMJE"};
constexpr std::int64_t kChunkHead = 10;  // identifier, 32-bit size, 16-bit version

struct Chunk {
  std::string id;
  std::int64_t size = 0;
};

std::optional<Chunk> ChunkAt(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(at, 8, storage);
  const std::optional<Bytes> id = head.ReadBytes(4);
  const std::optional<std::uint32_t> size = head.ReadBE32();
  if (!id || !size) return std::nullopt;
  Chunk chunk{std::string(id->begin(), id->end()), *size};
  if (std::find(kChunkIds.begin(), kChunkIds.end(), chunk.id) == kChunkIds.end()) return std::nullopt;
  // DATA may be written with size 0 by a muxer that could not go back: it holds the rest.
  if (chunk.size < kChunkHead && !(chunk.id == "DATA" && chunk.size == 0)) return std::nullopt;
  return chunk;
}

// The first index offset the properties chunk at `at` gives (from the file's start), or 0.
std::int64_t IndexOffset(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor prop = view.ReadRecord(at + kChunkHead + 28, 4, storage);
  return prop.ReadBE32().value_or(0);
}

// The length of the packet at `at`, 0 when none lies whole there.
std::int64_t PacketLength(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor packet = view.ReadRecord(at, 4, storage);
  const std::optional<std::uint16_t> version = packet.ReadBE16();
  const std::optional<std::uint16_t> length = packet.ReadBE16();
  if (!version || !length || *version > 1 || *length < 12 + *version || at + *length > view.Size()) return 0;
  return *length;
}

// The packet count of the data chunk at `at` (0: never filled in).
std::uint32_t PacketCount(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  return view.ReadRecord(at + kChunkHead, 4, storage).ReadBE32().value_or(0);
}

// The end of the data chunk at `at` by its packets; `at` itself when its head is cut off.
std::int64_t DataEnd(ScanState& state, std::int64_t at, std::int64_t stated_end) {
  SourceView& view = state.View();
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(at + kChunkHead, 8, storage);
  const std::optional<std::uint32_t> packets = head.ReadBE32();
  if (!packets || !head.Skip(4)) return at;
  constexpr std::int64_t kDataHead = kChunkHead + 8;
  std::int64_t end = at + kDataHead;
  if (*packets == 0) {
    // Packets as long as they follow one another: where that run goes depends on where it is
    // alone, so walks that meet share the rest of it.
    const std::int64_t run = WalkChain(state.Walks(ScanState::WalkKind::kRealMediaPackets), end, [&](std::int64_t packet) {
      const std::int64_t length = PacketLength(view, packet);
      return length == 0 ? ChainStep{packet, packet} : ChainStep{packet + length};
    });
    return WalkMemo::EndOf(run);
  }
  for (std::uint32_t n = 0; n < *packets; ++n) {
    const std::int64_t length = PacketLength(view, end);
    if (length == 0) {
      // A counted packet missing: the chunk is cut short, and its stated size cannot be trusted either.
      return std::min(stated_end, end);
    }
    end += length;
  }
  return end;
}

bool ZeroEndMarker(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> bytes = view.ReadRecord(at, 9, storage).ReadBytes(static_cast<std::size_t>(std::clamp<std::int64_t>(view.Size() - at, 0, 9)));
  if (!bytes || bytes->size() < 8) return false;
  const auto zeros = static_cast<std::size_t>(std::count(bytes->begin(), bytes->end(), std::uint8_t{0}));
  return zeros == 8 && std::all_of(bytes->begin(), bytes->begin() + 8, [](std::uint8_t b) { return b == 0; });
}

// The end is open when the data chunk was written without a size and nothing follows it: its
// packets run on until they stop.
std::optional<WalkEnd> RealMediaEnd(ScanState& state, std::int64_t start) {
  SourceView& view = state.View();
  const std::optional<Chunk> header = ChunkAt(view, start);
  if (!header || header->id != ".RMF" || header->size > 64) return std::nullopt;
  std::int64_t at = start;
  std::int64_t index_at = 0;
  bool properties = false, open = false;
  for (int chunks = 0;; ++chunks) {
    std::optional<Chunk> chunk = ChunkAt(view, at);
    // The chain may stop short of the index the properties point at (a gap the muxer left).
    if (!chunk && index_at > at) {
      const std::optional<Chunk> index = ChunkAt(view, index_at);
      if (index && index->id == "INDX") {
        at = index_at;
        chunk = index;
      }
    }
    if (!chunk || (chunks == 0 && chunk->id != ".RMF") || (chunks > 0 && chunk->id == ".RMF")) break;
    // The properties come before the data: a chain without them is no clip, and is not walked
    // through its data to find that out.
    if (chunk->id == "DATA" && !properties) break;
    // A data chunk without a size or a packet count runs on while packets follow: an open end.
    open = chunk->id == "DATA" && chunk->size == 0 && PacketCount(view, at) == 0;
    if (chunk->id == "DATA") {
      const std::int64_t stated_end = chunk->size == 0 ? view.Size() : at + chunk->size;
      const std::int64_t data_end = DataEnd(state, at, stated_end);
      if (data_end <= at) break;
      at = data_end;
      continue;
    }
    if (at + chunk->size > view.Size()) break;
    if (chunk->id == "PROP") {
      properties = true;
      const std::int64_t index = IndexOffset(view, at);
      if (index > 0) index_at = start + index;
    }
    at += chunk->size;
  }
  if (!properties) return std::nullopt;
  if (ZeroEndMarker(view, at)) {
    at += 8;
    open = false;
  }
  return WalkEnd{at, open};
}

// RealAudio 4 writers end a file with "RaTC" trailer chunks after the audio: each "RaTC" with
// its 32-bit length, and last an 8-byte "RaTC" whose second word points back at the first
// trailer chunk (from the file's start).
std::int64_t TrailerEnd(SourceView& view, std::int64_t start, std::int64_t audio_end) {
  std::int64_t at = audio_end;
  for (int chunks = 0; chunks < 16; ++chunks) {
    std::vector<std::uint8_t> storage;
    ByteCursor head = view.ReadRecord(at, 8, storage);
    const std::optional<Bytes> id = head.ReadBytes(4);
    const std::optional<std::uint32_t> word = head.ReadBE32();
    if (!id || !word || !MatchesAt(*id, 0, "RaTC")) break;
    if (*word == audio_end - start) return at + 8;
    if (*word < 8 || *word > 4096 || at + *word > view.Size()) break;
    at += *word;
  }
  return audio_end;  // no closing pointer: the trailer is not this file's
}

// ".ra" FD: version 3 keeps its header length (from byte 8) at 6 and the audio length at 18;
// versions 4 and 5 the size from byte 16 on at 12, the header length (from byte 16) at 18 and
// the audio length at 28, with the version again at 16.
std::optional<std::int64_t> RealAudioEnd(ScanState& state, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  ByteCursor head = state.View().ReadRecord(start, 32, storage);
  if (!head.Skip(4)) return std::nullopt;
  const std::optional<std::uint16_t> version = head.ReadBE16();
  if (!version || *version < 3 || *version > 5) return std::nullopt;
  std::int64_t length = 0;
  if (*version == 3) {
    const std::optional<std::uint16_t> header = head.ReadBE16();
    if (!header || !head.Skip(10)) return std::nullopt;
    const std::optional<std::uint32_t> audio = head.ReadBE32();
    if (!audio || *header < 14 || *header > 4096) return std::nullopt;
    length = 8 + std::int64_t{*header} + *audio;
  } else {
    if (!head.Skip(2)) return std::nullopt;
    const std::optional<Bytes> tag = head.ReadBytes(4);
    const std::string expected = ".ra" + std::to_string(*version);
    if (!tag || !MatchesAt(*tag, 0, expected)) return std::nullopt;
    const std::optional<std::uint32_t> data_size = head.ReadBE32();
    const std::optional<std::uint16_t> version2 = head.ReadBE16();
    const std::optional<std::uint32_t> header = head.ReadBE32();
    if (!version2 || *version2 != *version || !header || !head.Skip(6)) return std::nullopt;
    const std::optional<std::uint32_t> audio = head.ReadBE32();
    if (!audio || !data_size || *header < 40 || *header > 4096) return std::nullopt;
    length = 16 + std::int64_t{*header} + *audio;
    // The size after the first 16 bytes, or of the whole file: a stream header inside a
    // RealMedia file's media properties carries other values there.
    if (*data_size != length - 16 && *data_size != length) return std::nullopt;
  }
  if (length > state.SourceSize() - start) return std::nullopt;
  return TrailerEnd(state.View(), start, start + length);
}

}  // namespace

void FindPreciseRealMediaClips(ScanState& state) {
  EachWalkedCandidate(state, {kRealMediaType.Header}, 0, kRealMediaType.Extension, kRealMediaType.TypeName,
                      [&](std::int64_t start) { return RealMediaEnd(state, start); }, NoInfo);
  EachWalkedCandidate(state, {kRealAudioSignature}, 0, kRealMediaType.Extension, kRealMediaType.TypeName,
                      [&](std::int64_t start) { return RealAudioEnd(state, start); }, NoInfo);
}

}  // namespace rsf
