// Impulse Tracker modules: "IMPM", the song name, the order, instrument, sample and pattern
// counts at 32, the song message's length and offset at 54, the order list at 192 and then the
// instruments', samples' and patterns' 32-bit offsets. An instrument ("IMPI") is 554 bytes, a
// sample header ("IMPS") 80 bytes pointing to its data: length in samples, twice the bytes for
// 16-bit and for stereo samples; compressed samples (IT 2.14) are blocks of a 16-bit size and
// that many bytes, one per 32,768 8-bit or 16,384 16-bit samples and channel. Every record is
// checked to lie in the source before any is read, and compressed samples that together claim
// more than the source could hold are refused before their blocks are walked. A pattern is its
// packed length, its rows, four reserved bytes and the data. The clip ends behind the furthest
// of them all.
#include <algorithm>

#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kHeaderSize = 192;
constexpr std::int64_t kInstrumentSize = 554;
constexpr std::int64_t kSampleHeaderSize = 80;
constexpr std::int64_t kPatternHead = 8;
constexpr std::uint8_t kSamplePresent = 1, kSample16Bit = 2, kSampleStereo = 4, kSampleCompressed = 8;
constexpr std::uint16_t kMessageFlag = 1;

using Module = WalkedClip;

// A sample header's data: where it ends when it is stored plainly; where it starts and how it
// is blocked when it is compressed (its end then follows from walking the blocks).
struct SampleData {
  std::int64_t end = 0;
  bool compressed = false;
  std::int64_t data_at = 0;
  int channels = 1;
  std::int64_t samples_per_block = 0;
  std::int64_t length = 0;  // samples per channel

  std::int64_t BlocksPerChannel() const { return (length + samples_per_block - 1) / samples_per_block; }
  // The fewest bytes the blocks can take: their sizes, and a bit per sample.
  std::int64_t LeastBytes() const { return channels * (2 * BlocksPerChannel() + (length + 7) / 8); }
};

std::optional<SampleData> SampleAt(SourceView& view, std::int64_t start, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start + at, kSampleHeaderSize, storage);
  if (!header || !MatchesAt(*header, 0, "IMPS")) return std::nullopt;
  const std::uint8_t flags = (*header)[0x12];
  const std::int64_t length = *ReadLE32(*header, 0x30);
  const std::int64_t data_at = *ReadLE32(*header, 0x48);
  SampleData sample{at + kSampleHeaderSize};
  if (!(flags & kSamplePresent) || length == 0) return sample;
  const int channels = (flags & kSampleStereo) ? 2 : 1;
  if (!(flags & kSampleCompressed)) {
    sample.end = std::max(sample.end, data_at + length * channels * ((flags & kSample16Bit) ? 2 : 1));
    return sample;
  }
  sample.compressed = true;
  sample.data_at = data_at;
  sample.channels = channels;
  sample.samples_per_block = (flags & kSample16Bit) ? 0x4000 : 0x8000;
  sample.length = length;
  return sample;
}

// The end of a compressed sample's blocks, or nullopt. Every sample takes at least one bit in
// a block, so a block of n samples is at least n / 8 bytes long: the walk covers an eighth of a
// byte per sample at least, and a sample cannot claim more blocks than the source could hold.
std::optional<std::int64_t> CompressedEnd(SourceView& view, std::int64_t start, const SampleData& sample) {
  std::vector<std::uint8_t> storage;
  std::int64_t at = sample.data_at;
  const std::int64_t per_channel = sample.BlocksPerChannel();
  for (std::int64_t b = 0; b < sample.channels * per_channel; ++b) {
    const bool last = b % per_channel == per_channel - 1;
    const std::int64_t in_block = last ? sample.length - (per_channel - 1) * sample.samples_per_block : sample.samples_per_block;
    const std::optional<Bytes> size = BytesAt(view, start + at, 2, storage);
    if (!size || *ReadLE16(*size, 0) < (in_block + 7) / 8) return std::nullopt;
    at += 2 + *ReadLE16(*size, 0);
    if (at > view.Size() - start) return std::nullopt;
  }
  return at;
}

std::optional<Module> ModuleAt(SourceView& view, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start, kHeaderSize, storage);
  if (!header) return std::nullopt;
  const Bytes h = *header;
  const std::uint16_t orders = *ReadLE16(h, 32), instruments = *ReadLE16(h, 34), samples = *ReadLE16(h, 36),
                      patterns = *ReadLE16(h, 38), special = *ReadLE16(h, 46), message_length = *ReadLE16(h, 54);
  const std::uint32_t message_at = *ReadLE32(h, 56);
  if (orders == 0 || orders > 1024 || instruments > 255 || samples > 4000 || patterns > 4000 ||
      instruments + samples + patterns == 0)
    return std::nullopt;
  const std::int64_t offsets_at = kHeaderSize + orders;
  const std::size_t offset_count = std::size_t{instruments} + samples + patterns;
  std::vector<std::uint8_t> table_storage;
  const std::optional<Bytes> table = BytesAt(view, start + offsets_at, 4 * offset_count, table_storage);
  if (!table) return std::nullopt;
  const std::int64_t room = view.Size() - start;
  std::int64_t end = offsets_at + 4 * static_cast<std::int64_t>(offset_count);
  if ((special & kMessageFlag) && message_length > 0) end = std::max(end, std::int64_t{message_at} + message_length);
  // Every record checked to lie in the source before any is read, then read in the order they
  // stand there: one pass through the source, however they are spread.
  enum class Kind { kInstrument, kSample, kPattern };
  struct Record {
    std::int64_t at;
    Kind kind;
  };
  std::vector<Record> records;
  for (std::size_t i = 0; i < offset_count; ++i) {
    const std::int64_t at = *ReadLE32(*table, 4 * i);
    if (at == 0) continue;  // no instrument or sample; an empty pattern of 64 rows
    const Kind kind = i < instruments ? Kind::kInstrument : i < std::size_t{instruments} + samples ? Kind::kSample : Kind::kPattern;
    const std::int64_t size = kind == Kind::kInstrument ? kInstrumentSize : kind == Kind::kSample ? kSampleHeaderSize : kPatternHead;
    if (at + size > room) return std::nullopt;
    records.push_back({at, kind});
  }
  std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.at < b.at; });
  std::vector<SampleData> compressed;
  std::int64_t least_compressed_bytes = 0;
  for (const Record& record : records) {
    if (record.kind == Kind::kInstrument) {
      const std::optional<Bytes> tag = BytesAt(view, start + record.at, 4, storage);
      if (!tag || !MatchesAt(*tag, 0, "IMPI")) return std::nullopt;
      end = std::max(end, record.at + kInstrumentSize);
    } else if (record.kind == Kind::kSample) {
      const std::optional<SampleData> sample = SampleAt(view, start, record.at);
      if (!sample) return std::nullopt;
      end = std::max(end, sample->end);
      if (sample->compressed) {
        compressed.push_back(*sample);
        least_compressed_bytes += sample->LeastBytes();
      }
    } else {
      const std::optional<Bytes> length = BytesAt(view, start + record.at, 2, storage);
      if (!length) return std::nullopt;
      end = std::max(end, record.at + kPatternHead + *ReadLE16(*length, 0));
    }
  }
  if (end > room || least_compressed_bytes > room) return std::nullopt;
  std::sort(compressed.begin(), compressed.end(),
            [](const SampleData& a, const SampleData& b) { return a.data_at < b.data_at; });
  compressed.erase(std::unique(compressed.begin(), compressed.end(),
                               [](const SampleData& a, const SampleData& b) {
                                 return a.data_at == b.data_at && a.channels == b.channels && a.length == b.length &&
                                        a.samples_per_block == b.samples_per_block;
                               }),
                   compressed.end());
  for (const SampleData& sample : compressed) {
    const std::optional<std::int64_t> blocks_end = CompressedEnd(view, start, sample);
    if (!blocks_end) return std::nullopt;
    end = std::max(end, *blocks_end);
  }
  Module module{start + end, {}};
  AddInfoLine(module.info, "标题", NameField(h.subspan(4, 26)));
  AddInfoLine(module.info, "图案", std::to_string(patterns));
  AddInfoLine(module.info, "采样", std::to_string(samples));
  return module;
}

}  // namespace

void FindItClips(ScanState& state, const ClipTypeRecord& type) {
  SourceView& view = state.View();
  const std::string_view signatures[] = {kItSignature};
  EachWalkedClip(state, signatures, 0, type.extension, type.type_name,
                 [&](std::int64_t start) { return ModuleAt(view, start); });
}

}  // namespace rsf
