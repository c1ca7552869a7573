// FastTracker 2 extended modules (version 1.04): "Extended Module: ", the module name, 1A, the
// tracker name, the version, the header size (counted from offset 60) with the song length and
// the channel, pattern and instrument counts. Then each pattern: a header of its own length
// (rows, packed size) and its packed data; then each instrument: a header of its own length
// with its sample count and, when it has samples, the size of a sample header; the sample
// headers (length in bytes first) and the samples' data. The clip ends behind the last
// instrument's data. Samples ModPlug stored ADPCM-packed (reserved byte AD) take half their
// length and a 16-byte table.
#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kHeaderFieldsAt = 60;
constexpr std::uint16_t kVersion = 0x0104;
constexpr std::uint8_t kAdpcmPacked = 0xAD;

using Module = WalkedClip;

// The end of the pattern at `at`, or nullopt.
std::optional<std::int64_t> PatternEnd(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, at, 9, storage);
  if (!head) return std::nullopt;
  const std::uint32_t header_length = *ReadLE32(*head, 0);
  const std::uint16_t rows = *ReadLE16(*head, 5);
  if (header_length < 9 || header_length > 64 || (*head)[4] != 0 || rows == 0 || rows > 256) return std::nullopt;
  return at + header_length + *ReadLE16(*head, 7);
}

// The end of the instrument at `at` with its samples, or nullopt.
std::optional<std::int64_t> InstrumentEnd(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, at, 29, storage);
  if (!head) return std::nullopt;
  const std::uint32_t header_size = *ReadLE32(*head, 0);
  const std::uint16_t samples = *ReadLE16(*head, 27);
  if (header_size < 29 || header_size > 4096 || samples > 32) return std::nullopt;
  if (samples == 0) return at + header_size;
  const std::optional<Bytes> sample_header_field = BytesAt(view, at + 29, 4, storage);
  if (!sample_header_field || header_size < 33) return std::nullopt;
  const std::uint32_t sample_header_size = *ReadLE32(*sample_header_field, 0);
  if (sample_header_size < 18 || sample_header_size > 256) return std::nullopt;
  std::int64_t headers_at = at + header_size;
  std::int64_t data = 0;
  for (int i = 0; i < samples; ++i, headers_at += sample_header_size) {
    const std::optional<Bytes> sample = BytesAt(view, headers_at, 18, storage);
    if (!sample) return std::nullopt;
    const std::int64_t length = *ReadLE32(*sample, 0);
    data += (*sample)[17] == kAdpcmPacked ? 16 + (length + 1) / 2 : length;
  }
  return headers_at + data;
}

std::optional<Module> ModuleAt(SourceView& view, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start, 80, storage);
  if (!header) return std::nullopt;
  const Bytes h = *header;
  const std::uint16_t version = *ReadLE16(h, 58);
  const std::uint32_t header_size = *ReadLE32(h, 60);
  const std::uint16_t song_length = *ReadLE16(h, 64), channels = *ReadLE16(h, 68), patterns = *ReadLE16(h, 70),
                      instruments = *ReadLE16(h, 72);
  if (h[37] != 0x1A || version != kVersion || header_size < 20 || header_size > 4096 || song_length > 256 ||
      channels == 0 || channels > 128 || patterns > 256 || instruments > 256)
    return std::nullopt;
  std::int64_t at = start + kHeaderFieldsAt + header_size;
  // A module of no patterns and no instruments ends with its header, which nothing below reads
  // whole: a header size reaching past the source end leaves no module.
  if (at > view.Size()) return std::nullopt;
  for (int i = 0; i < patterns; ++i) {
    const std::optional<std::int64_t> next = PatternEnd(view, at);
    if (!next || *next > view.Size()) return std::nullopt;
    at = *next;
  }
  for (int i = 0; i < instruments; ++i) {
    const std::optional<std::int64_t> next = InstrumentEnd(view, at);
    if (!next || *next > view.Size()) return std::nullopt;
    at = *next;
  }
  Module module{at, {}};
  AddInfoLine(module.info, "标题", NameField(h.subspan(17, 20)));
  AddInfoLine(module.info, "声道", std::to_string(channels));
  AddInfoLine(module.info, "图案", std::to_string(patterns));
  AddInfoLine(module.info, "乐器", std::to_string(instruments));
  return module;
}

}  // namespace

void FindXmClips(ScanState& state, const ClipTypeRecord& type) {
  SourceView& view = state.View();
  const std::string_view signatures[] = {kXmSignature};
  EachWalkedClip(state, signatures, 0, type.extension, type.type_name,
                 [&](std::int64_t start) { return ModuleAt(view, start); });
}

}  // namespace rsf
