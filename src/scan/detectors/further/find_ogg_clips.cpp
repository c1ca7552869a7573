// Ogg media: pages ("OggS", version 0, header flags, granule position, stream serial number,
// page number, CRC, the segment table) checked by their CRC. A clip starts at a stream's first
// page (the beginning-of-stream flag, page 0, granule position 0, one packet: the codec's
// identification header) and takes the pages that follow one another: the first
// pages of further streams grouped with it (all beginning-of-stream pages come first), then
// pages of those streams only, until each has had its last page (the end-of-stream flag). A
// page that is not whole and correct, belongs to another stream or starts a chained one ends
// the clip behind the page before it. The first pages tell the codecs.
#include <algorithm>
#include <set>

#include "base/crc32.h"
#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kPageHead = 27;
constexpr std::uint8_t kContinued = 1, kFirstPage = 2, kLastPage = 4;
constexpr std::size_t kCrcAt = 22;

struct Page {
  std::uint8_t flags = 0;
  std::uint32_t serial = 0;
  std::int64_t body_at = 0;
  std::int64_t end = 0;
};

std::optional<Page> PageAt(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, at, kPageHead, storage);
  if (!head || !MatchesAt(*head, 0, "OggS") || (*head)[4] != 0) return std::nullopt;
  const std::size_t segments = (*head)[26];
  std::vector<std::uint8_t> page(kPageHead + segments);
  if (view.Read(at, page.data(), static_cast<std::int64_t>(page.size())) != static_cast<std::int64_t>(page.size()))
    return std::nullopt;
  std::int64_t body = 0;
  for (std::size_t i = 0; i < segments; ++i) body += page[kPageHead + i];
  const std::int64_t header_size = static_cast<std::int64_t>(page.size());
  if (at + header_size + body > view.Size()) return std::nullopt;
  // Appended rather than resized: GCC 12 reads resize's fill, for a 32-bit size_t, as a 4 GiB
  // memset and fails the 32-bit build, though the size is bounded above.
  page.insert(page.end(), static_cast<std::size_t>(body), std::uint8_t{0});
  if (view.Read(at + header_size, page.data() + header_size, body) != body) return std::nullopt;
  const std::uint32_t stored = *ReadLE32(page, kCrcAt);
  std::fill_n(page.begin() + kCrcAt, 4, std::uint8_t{0});
  if (OggCrc32(page) != stored) return std::nullopt;
  return Page{page[5], *ReadLE32(page, 14), at + header_size, at + header_size + body};
}

struct Stream {
  std::int64_t end = 0;
  std::vector<Page> first_pages;
};

// Whether the page at `at` can be a stream's first, from its header alone: flagged so, page 0 at
// granule position 0, holding one small packet (the codec's identification header). Most pages
// are no stream's first, and the check costs no CRC.
bool CanBeFirstPage(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, at, kPageHead + 2, storage);
  if (!head) return false;
  const Bytes h = *head;
  const std::uint8_t flags = h[5];
  if ((flags & kContinued) || !(flags & kFirstPage) || *ReadLE32(h, 6) != 0 || *ReadLE32(h, 10) != 0 || *ReadLE32(h, 18) != 0)
    return false;
  const std::size_t segments = h[26];
  return segments >= 1 && segments <= 2 && h[kPageHead + segments - 1] < 255;
}

std::optional<Stream> StreamAt(SourceView& view, std::int64_t start) {
  if (!CanBeFirstPage(view, start)) return std::nullopt;
  std::optional<Page> page = PageAt(view, start);
  if (!page || (page->flags & kContinued) || !(page->flags & kFirstPage)) return std::nullopt;
  Stream stream{page->end, {*page}};
  std::set<std::uint32_t> open = {page->serial};
  if (page->flags & kLastPage) open.clear();
  bool grouping = true;
  while (!open.empty()) {
    page = PageAt(view, stream.end);
    if (!page) break;
    if (page->flags & kFirstPage) {
      if (!grouping || open.count(page->serial)) break;
      open.insert(page->serial);
      stream.first_pages.push_back(*page);
    } else {
      grouping = false;
      if (!open.count(page->serial)) break;
    }
    if (page->flags & kLastPage) open.erase(page->serial);
    stream.end = page->end;
  }
  return stream;
}

// What the codec header at the start of a first page tells.
struct Codec {
  std::string name;
  std::int64_t rate = 0;
  int channels = 0;
};

Codec CodecOf(SourceView& view, const Page& page) {
  std::vector<std::uint8_t> storage;
  const Bytes body = view.ReadRecord(page.body_at, std::min<std::int64_t>(64, page.end - page.body_at), storage).Rest();
  const auto le32 = [&](std::size_t at) -> std::int64_t { return ReadLE32(body, at).value_or(0); };
  if (MatchesAt(body, 0, "\x01vorbis")) return {"Vorbis", le32(12), body.size() > 11 ? body[11] : 0};
  if (MatchesAt(body, 0, "\x80theora")) return {"Theora", 0, 0};
  // Opus always decodes at 48 kHz; the header's rate is the input's.
  if (MatchesAt(body, 0, "OpusHead")) return {"Opus", 48000, body.size() > 9 ? body[9] : 0};
  if (MatchesAt(body, 0, "Speex   ")) return {"Speex", le32(36), static_cast<int>(le32(48))};
  if (MatchesAt(body, 0, "\x7F" "FLAC") && body.size() >= 30 && MatchesAt(body, 9, "fLaC")) {
    // The STREAMINFO block behind the 4-byte block header: 20 bits of rate, 3 of channels - 1.
    const std::size_t info = 17 + 10;
    const std::int64_t rate = *ReadBE24(body, info) >> 4;
    return {"FLAC", rate, ((body[info + 2] >> 1) & 7) + 1};
  }
  return {"", 0, 0};
}

std::string OggInfo(SourceView& view, const Stream& stream) {
  std::string names;
  Codec audio;
  for (const Page& page : stream.first_pages) {
    const Codec codec = CodecOf(view, page);
    if (codec.name.empty()) continue;
    names += (names.empty() ? "" : " + ") + codec.name;
    if (audio.channels == 0 && codec.channels > 0) audio = codec;
  }
  std::string text;
  AddInfoLine(text, "编码器", names.empty() ? "?" : names);
  if (audio.channels > 0) {
    AddInfoLine(text, "频率", std::to_string(audio.rate) + " Hz");
    AddInfoLine(text, "声道", std::to_string(audio.channels));
  }
  return text;
}

}  // namespace

void FindOggClips(ScanState& state, const ClipTypeRecord& type) {
  SourceView& view = state.View();
  std::optional<Stream> found;
  EachWalkedCandidate(
      state, {kOggSignature}, 0, type.extension, type.type_name,
      [&](std::int64_t start) -> std::optional<std::int64_t> {
        found = StreamAt(view, start);
        if (!found) return std::nullopt;
        return found->end;
      },
      [&](std::int64_t, std::int64_t) { return OggInfo(view, *found); });
}

}  // namespace rsf
