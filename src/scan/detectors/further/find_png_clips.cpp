// PNG pictures: the 8-byte signature, then chunks (a 32-bit length, a type of four letters, the
// data and the CRC-32 of type and data) from the header chunk (IHDR, 13 bytes) to the end
// chunk (IEND); a picture needs image data (IDAT). Where the chunks from a chunk lead does not
// depend on where the walk came from, so that walk is remembered; the CRCs are checked once the
// chunks have reached the end chunk, and a chunk that fails them leaves no clip.
#include <algorithm>

#include "base/crc32.h"
#include "scan/walk/chain_walk.h"
#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kSignatureSize = 8;
constexpr std::int64_t kChunkOverhead = 12;  // length, type and CRC
constexpr std::int64_t kCrcPiece = 1 << 16;
constexpr unsigned kImageDataSeen = 1;

bool IsLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Whether the CRC at the end of the chunk at `at` (of `length` data bytes) is that of its type
// and data.
bool CrcMatches(SourceView& view, std::int64_t at, std::int64_t length) {
  std::vector<std::uint8_t> piece;
  std::uint32_t crc = 0;
  for (std::int64_t done = 0; done < 4 + length;) {
    const std::int64_t count = std::min(kCrcPiece, 4 + length - done);
    piece.resize(static_cast<std::size_t>(count));
    if (view.Read(at + 4 + done, piece.data(), count) != count) return false;
    crc = Crc32(piece, crc);
    done += count;
  }
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> stored = BytesAt(view, at + 8 + length, 4, storage);
  return stored && *ReadBE32(*stored, 0) == crc;
}

ChainStep ChunkAt(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, at, 8, storage);
  if (!head || !std::all_of(head->begin() + 4, head->end(), IsLetter)) return {};
  const std::int64_t length = *ReadBE32(*head, 0);
  if (length > 0x7FFFFFFF || at + kChunkOverhead + length > view.Size()) return {};
  const bool end_chunk = MatchesAt(*head, 4, "IEND");
  const bool image_data = MatchesAt(*head, 4, "IDAT");
  const std::int64_t next = at + kChunkOverhead + length;
  if (end_chunk) return {-1, next, 0};
  return {next, -1, image_data ? kImageDataSeen : 0u};
}

struct Picture {
  std::int64_t end = 0;
  std::string info;
};

std::string ColourTypeName(std::uint8_t type) {
  switch (type) {
    case 0: return "灰度";
    case 2: return "真彩色";
    case 3: return "索引色";
    case 4: return "灰度带透明";
    case 6: return "真彩色带透明";
  }
  return std::to_string(type);
}

std::optional<Picture> PictureAt(ScanState& state, const ClipTypeRecord& type, std::int64_t start) {
  SourceView& view = state.View();
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start + kSignatureSize, 8 + 13, storage);
  if (!header || *ReadBE32(*header, 0) != 13 || !MatchesAt(*header, 4, "IHDR")) return std::nullopt;
  const std::uint32_t width = *ReadBE32(*header, 8), height = *ReadBE32(*header, 12);
  const std::uint8_t depth = (*header)[16], colour = (*header)[17];
  if (width == 0 || height == 0) return std::nullopt;
  const std::int64_t walked = WalkChain(state.Walks(ScanState::WalkKind::kPngChunks), start + kSignatureSize,
                                        [&](std::int64_t at) { return ChunkAt(view, at); });
  const std::int64_t end = WalkMemo::EndOf(walked);
  if (end < 0 || WalkMemo::FlagsOf(walked) != kImageDataSeen) return std::nullopt;
  // The chunks hold together; now their CRCs, once for the picture. A picture whose CRCs fail
  // is no clip, and what its chunks hold is no picture of its own either: candidates inside it
  // are not walked.
  for (std::int64_t at = start + kSignatureSize; at < end;) {
    std::vector<std::uint8_t> head_storage;
    const std::int64_t length = *ReadBE32(*BytesAt(view, at, 4, head_storage), 0);
    if (!CrcMatches(view, at, length)) {
      state.WalkedClips(type.extension).Add(start, end);
      return std::nullopt;
    }
    at += kChunkOverhead + length;
  }
  Picture picture{end, {}};
  AddInfoLine(picture.info, "大小", std::to_string(width) + " x " + std::to_string(height));
  AddInfoLine(picture.info, "位深", std::to_string(depth));
  AddInfoLine(picture.info, "颜色类型", ColourTypeName(colour));
  return picture;
}

}  // namespace

void FindPngClips(ScanState& state, const ClipTypeRecord& type) {
  std::optional<Picture> found;
  EachWalkedCandidate(
      state, {kPngSignature}, 0, type.extension, type.type_name,
      [&](std::int64_t start) -> std::optional<std::int64_t> {
        found = PictureAt(state, type, start);
        if (!found) return std::nullopt;
        return found->end;
      },
      [&](std::int64_t, std::int64_t) { return found->info; });
}

}  // namespace rsf
