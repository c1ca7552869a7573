// IFF files of the Amiga and the Mac: "FORM", a big-endian size and the form type (AIFF and
// AIFC sound, ILBM and PBM pictures, 8SVX sound), then chunks (four printable characters, a
// size, the data padded to an even length). The clip ends at the end the form's size gives when
// its chunks reach that far, else behind the last whole chunk (a file cut short, a size never
// filled in). A form of a type this detector takes ends the chunks: it is the next file, which
// a form size too large would otherwise swallow. The form needs its header chunk (COMM, BMHD,
// VHDR) among its first chunks, which also gives the information text. Where the chunks lead
// does not depend on the form they started in, so the walk is remembered.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "scan/walk/chain_walk.h"
#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kChunkHead = 8;
constexpr std::int64_t kFormHead = 12;
constexpr int kHeaderSearch = 32;  // chunks looked through for the header chunk

struct FormKind {
  std::span<const std::string_view> types;
  std::string_view header_chunk;
  std::size_t header_size;
};

const FormKind kAiff{kAiffForms, "COMM", 18};
const FormKind kIlbm{kIlbmForms, "BMHD", 20};
const FormKind k8svx{k8svxForms, "VHDR", 20};

const FormKind& KindOf(ClipKind kind) { return kind == ClipKind::kAIFF ? kAiff : kind == ClipKind::kILBM ? kIlbm : k8svx; }

// Every form type this detector takes, whichever kind it runs for.
constexpr std::string_view kOurForms[] = {kAiffForms[0], kAiffForms[1], kIlbmForms[0], kIlbmForms[1], k8svxForms[0]};
static_assert(std::size(kOurForms) == std::size(kAiffForms) + std::size(kIlbmForms) + std::size(k8svxForms));

bool FormOfOursAt(SourceView& view, std::int64_t at) { return IffGroupAt(view, at, "FORM", kOurForms); }

// The pad byte behind odd-sized data that ends at `end`, when the source has it. Writers nearly
// always write it (a zero, now and then garbage), so it is taken whatever it holds; but where
// one of our forms begins right there, the writer left it out and the byte is that file's first.
std::int64_t PadAt(SourceView& view, std::int64_t end, std::int64_t size) {
  return (size & 1) && end < view.Size() && !FormOfOursAt(view, end) ? 1 : 0;
}

struct Chunk {
  std::int64_t data_at = 0;
  std::int64_t size = 0;
  std::int64_t end = 0;  // behind the pad byte, or at the source end when only that is missing
  Bytes id;
};

std::optional<Chunk> ChunkAt(SourceView& view, std::int64_t at, std::vector<std::uint8_t>& storage) {
  const std::optional<Bytes> head = BytesAt(view, at, kChunkHead, storage);
  if (!head || !std::all_of(head->begin(), head->begin() + 4, [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; }))
    return std::nullopt;
  const std::int64_t size = *ReadBE32(*head, 4);
  const std::int64_t end = at + kChunkHead + size;
  if (end > view.Size()) return std::nullopt;
  return Chunk{at + kChunkHead, size, end + PadAt(view, end, size), head->first(4)};
}

std::int64_t ChunksEnd(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  return WalkMemo::EndOf(WalkChain(state.Walks(ScanState::WalkKind::kIffChunks), at, [&](std::int64_t here) {
    std::vector<std::uint8_t> storage;
    const std::optional<Chunk> chunk = ChunkAt(view, here, storage);
    if (!chunk || chunk->end <= here || (MatchesAt(chunk->id, 0, "FORM") && FormOfOursAt(view, here)))
      return ChainStep{-1, here, 0};
    return ChainStep{chunk->end, -1, 0};
  }));
}

// An 80-bit IEEE 754 extended number, as AIFF gives its sample rate.
double Extended(Bytes b) {
  ByteCursor cursor(b);
  const std::uint16_t sign_and_exponent = *cursor.ReadBE16();
  const std::uint64_t mantissa = *cursor.ReadBE64();
  const int exponent = (sign_and_exponent & 0x7FFF) - 16383 - 63;
  const double value = std::ldexp(static_cast<double>(mantissa), exponent);
  return (sign_and_exponent & 0x8000) ? -value : value;
}

std::string InfoOf(ClipKind kind, Bytes header) {
  std::string text;
  if (kind == ClipKind::kAIFF) {
    const std::int64_t channels = *ReadBE16(header, 0), frames = *ReadBE32(header, 2), bits = *ReadBE16(header, 6);
    const double extended = Extended(header.subspan(8, 10));
    const std::int64_t rate = std::isfinite(extended) && extended >= 0 && extended < 1e9 ? std::llround(extended) : 0;
    AddInfoLine(text, "频率", std::to_string(rate) + " Hz");
    AddInfoLine(text, "位", std::to_string(bits));
    AddInfoLine(text, "声道", std::to_string(channels));
    AddInfoLine(text, "播放长度", PlayingTime(rate > 0 ? frames / rate : 0));
  } else if (kind == ClipKind::kILBM) {
    AddInfoLine(text, "大小", std::to_string(*ReadBE16(header, 0)) + " x " + std::to_string(*ReadBE16(header, 2)));
    AddInfoLine(text, "位平面", std::to_string(header[8]));
  } else {
    AddInfoLine(text, "频率", std::to_string(*ReadBE16(header, 12)) + " Hz");
  }
  return text;
}

struct Form {
  std::int64_t end = 0;
  std::string info;
};

std::optional<Form> FormAt(ScanState& state, ClipKind kind, std::int64_t start) {
  SourceView& view = state.View();
  const FormKind& form = KindOf(kind);
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, start, kFormHead, storage);
  if (!head || !MatchesAt(*head, 0, "FORM")) return std::nullopt;
  const std::int64_t size = *ReadBE32(*head, 4);
  if (size < 4 + kChunkHead) return std::nullopt;
  const std::int64_t chunks_end = ChunksEnd(state, start + kFormHead);
  const std::int64_t stated_end = start + kChunkHead + size;
  const std::int64_t end = stated_end <= chunks_end ? stated_end + PadAt(view, stated_end, size) : chunks_end;
  // The header chunk, among the first chunks of the form.
  std::int64_t at = start + kFormHead;
  for (int n = 0; n < kHeaderSearch && at < end; ++n) {
    std::vector<std::uint8_t> chunk_storage;
    const std::optional<Chunk> chunk = ChunkAt(view, at, chunk_storage);
    if (!chunk) break;
    if (MatchesAt(chunk->id, 0, form.header_chunk)) {
      if (chunk->size < static_cast<std::int64_t>(form.header_size)) return std::nullopt;
      std::vector<std::uint8_t> header_storage;
      const std::optional<Bytes> header = BytesAt(view, chunk->data_at, form.header_size, header_storage);
      if (!header) return std::nullopt;
      return Form{end, InfoOf(kind, *header)};
    }
    at = chunk->end;
  }
  return std::nullopt;
}

}  // namespace

void FindIffClips(ScanState& state, const ClipTypeRecord& type) {
  const ClipKind kind = type.kind;
  const FormKind& form = KindOf(kind);
  std::optional<Form> found;
  EachWalkedCandidate(
      state, form.types, 8, type.extension, type.type_name,
      [&](std::int64_t start) -> std::optional<std::int64_t> {
        found = FormAt(state, kind, start);
        if (!found) return std::nullopt;
        return found->end;
      },
      [&](std::int64_t, std::int64_t) { return found->info; });
}

}  // namespace rsf
