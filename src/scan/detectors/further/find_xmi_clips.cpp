// Extended MIDI (XMIDI, the Miles Sound System's music): an IFF "FORM" of type "XDIR" whose
// "INFO" chunk counts the sequences, then a "CAT " chunk of type "XMID" holding one "FORM" of
// type "XMID" per sequence. The clip ends behind the "CAT " chunk. Sizes are big-endian, chunks
// padded to an even length; the count in "INFO" is little-endian.
#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kChunkHead = 8;

constexpr std::string_view kDirectoryType[] = {"XDIR"};
constexpr std::string_view kCatalogueType[] = {"XMID"};

std::int64_t Padded(std::int64_t size) { return size + (size & 1); }

// An XMIDI file begins at `at`: its directory form, or a catalogue standing alone.
bool XmidiAt(SourceView& view, std::int64_t at) {
  return IffGroupAt(view, at, "FORM", kDirectoryType) || IffGroupAt(view, at, "CAT ", kCatalogueType);
}

struct XmiFile {
  std::int64_t end = 0;
  int sequences = 0;
};

std::optional<XmiFile> XmiAt(SourceView& view, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, start, 22, storage);
  if (!head || !MatchesAt(*head, 0, "FORM") || !MatchesAt(*head, 8, "XDIR")) return std::nullopt;
  const std::int64_t directory_size = *ReadBE32(*head, 4);
  if (directory_size < 4 + kChunkHead + 2 || directory_size > 4096) return std::nullopt;
  int sequences = 0;
  if (MatchesAt(*head, 12, "INFO") && *ReadBE32(*head, 16) >= 2) sequences = *ReadLE16(*head, 20);
  const std::int64_t catalogue_at = start + kChunkHead + Padded(directory_size);
  const std::optional<Bytes> catalogue = BytesAt(view, catalogue_at, 20, storage);
  if (!catalogue || !MatchesAt(*catalogue, 0, "CAT ") || !MatchesAt(*catalogue, 8, "XMID") ||
      !MatchesAt(*catalogue, 12, "FORM"))
    return std::nullopt;
  const std::int64_t catalogue_size = *ReadBE32(*catalogue, 4);
  const std::optional<Bytes> first_form = BytesAt(view, catalogue_at + 20, 4, storage);
  if (!first_form || !MatchesAt(*first_form, 0, "XMID") || catalogue_size < 4 + kChunkHead + 4) return std::nullopt;
  const std::int64_t end = catalogue_at + kChunkHead + catalogue_size;
  if (end > view.Size()) return std::nullopt;
  // The pad byte of an odd-sized catalogue belongs to the file when the source has it. Writers
  // nearly always write it (a zero, now and then garbage), so it is taken whatever it holds; but
  // where another XMIDI file begins right there, the writer left it out and the byte is that
  // file's first.
  const bool padded = (catalogue_size & 1) && end < view.Size() && !XmidiAt(view, end);
  return XmiFile{end + (padded ? 1 : 0), sequences};
}

}  // namespace

void FindXmiClips(ScanState& state, const ClipTypeRecord& type) {
  SourceView& view = state.View();
  std::optional<XmiFile> found;
  EachWalkedCandidate(
      state, {kXmiSignature}, 8, type.extension, type.type_name,
      [&](std::int64_t start) -> std::optional<std::int64_t> {
        found = XmiAt(view, start);
        if (!found) return std::nullopt;
        return found->end;
      },
      [&](std::int64_t, std::int64_t) {
        std::string text;
        AddInfoLine(text, "曲目数", std::to_string(found->sequences));
        return text;
      });
}

}  // namespace rsf
