// ScreamTracker 3 modules: a 96-byte header ("SCRM" at 44, 1A at 28, type 16 at 29; the order,
// instrument and pattern counts at 32) followed by the order list and the instruments' and
// patterns' parapointers (16-bit offsets in 16-byte paragraphs). An instrument is an 80-byte
// record; a sample instrument (type 1) addresses its data by a 24-bit paragraph pointer and
// gives its length in samples (16-bit and stereo samples take twice the bytes each). A pattern
// starts with the length of its packed data, those two bytes included. Nothing says where the
// file ends: it ends behind the furthest of all these, which the writers put last.
#include <algorithm>

#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kHeaderSize = 96;
constexpr std::int64_t kInstrumentSize = 80;
constexpr std::int64_t kParagraph = 16;
constexpr std::uint8_t kDefaultPanning = 0xFC;

using Module = WalkedClip;

std::optional<Module> ModuleAt(SourceView& view, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start, kHeaderSize, storage);
  if (!header) return std::nullopt;
  const Bytes h = *header;
  const std::uint16_t orders = *ReadLE16(h, 32), instruments = *ReadLE16(h, 34), patterns = *ReadLE16(h, 36);
  const std::uint16_t sample_format = *ReadLE16(h, 42);
  if (h[28] != 0x1A || h[29] != 16 || orders > 256 || instruments > 256 || patterns > 256 ||
      (sample_format != 1 && sample_format != 2))
    return std::nullopt;
  std::int64_t end = kHeaderSize + orders + 2 * (instruments + patterns) + (h[53] == kDefaultPanning ? 32 : 0);
  std::vector<std::uint8_t> table_storage;
  const std::optional<Bytes> table =
      BytesAt(view, start + kHeaderSize + orders, 2 * static_cast<std::size_t>(instruments + patterns), table_storage);
  if (!table || end > view.Size() - start) return std::nullopt;
  // The records, every one of them checked to lie in the source before any is read, then read
  // in the order they stand there (one pass through the source, however they are spread).
  struct Record {
    std::int64_t at;
    bool instrument;
  };
  std::vector<Record> records;
  for (std::size_t i = 0; i < std::size_t{instruments} + patterns; ++i) {
    const std::int64_t at = kParagraph * *ReadLE16(*table, 2 * i);
    if (at == 0) continue;
    const bool instrument = i < instruments;
    if (at + (instrument ? kInstrumentSize : 2) > view.Size() - start) return std::nullopt;
    records.push_back({at, instrument});
  }
  std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.at < b.at; });
  std::vector<std::uint8_t> record_storage;
  for (const Record& record : records) {
    if (!record.instrument) {
      const std::optional<Bytes> length = BytesAt(view, start + record.at, 2, record_storage);
      if (!length) return std::nullopt;
      end = std::max(end, record.at + std::max<std::int64_t>(2, *ReadLE16(*length, 0)));
      continue;
    }
    const std::optional<Bytes> instrument = BytesAt(view, start + record.at, kInstrumentSize, record_storage);
    if (!instrument) return std::nullopt;
    end = std::max(end, record.at + kInstrumentSize);
    if ((*instrument)[0] != 1) continue;
    // The sample's place in paragraphs, 24 bits whose high byte stands before the low word.
    ByteCursor place(instrument->subspan(13, 3));
    const std::int64_t place_high = *place.ReadU8(), place_low = *place.ReadLE16();
    const std::int64_t data_at = kParagraph * (place_high << 16 | place_low);
    const std::uint8_t flags = (*instrument)[31];
    const std::int64_t bytes = std::int64_t{*ReadLE32(*instrument, 16)} * ((flags & 4) ? 2 : 1) * ((flags & 2) ? 2 : 1);
    end = std::max(end, data_at + bytes);
  }
  if (end > view.Size() - start) return std::nullopt;
  int channels = 0;
  for (std::size_t c = 64; c < 96; ++c)
    if (h[c] < 16) ++channels;
  Module module{start + end, {}};
  AddInfoLine(module.info, "标题", NameField(h.first(28)));
  AddInfoLine(module.info, "声道", std::to_string(channels));
  return module;
}

}  // namespace

void FindS3mClips(ScanState& state, const ClipTypeRecord& type) {
  SourceView& view = state.View();
  const std::string_view signatures[] = {kS3mSignature};
  EachWalkedClip(state, signatures, 44, type.extension, type.type_name,
                 [&](std::int64_t start) { return ModuleAt(view, start); });
}

}  // namespace rsf
