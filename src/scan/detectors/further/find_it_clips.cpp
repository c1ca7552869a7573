// Impulse Tracker modules: "IMPM", the song name, the order, instrument, sample and pattern
// counts at 32, the song message's length and offset at 54, the order list at 192 and then the
// instruments', samples' and patterns' 32-bit offsets. An instrument ("IMPI") is 554 bytes, a
// sample header ("IMPS") 80 bytes pointing to its data: length in samples, twice the bytes for
// 16-bit and for stereo samples; compressed samples (IT 2.14) are blocks of a 16-bit size and
// that many bytes, one per 32,768 8-bit or 16,384 16-bit samples and channel. Every record is
// checked to lie in the source before any is read, and compressed samples that together claim
// more than the source could hold are refused before their blocks are walked; sample headers
// that share their data (one offset) claim it once, and its blocks are walked once. A pattern
// is its packed length, its rows, four reserved bytes and the data. The clip ends behind the
// furthest of them all.
#include <algorithm>
#include <map>
#include <span>
#include <utility>

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
  std::int64_t Blocks() const { return channels * BlocksPerChannel(); }
  // The fewest bytes a full block can take, and the last of a channel.
  std::int64_t LeastFullBlock() const { return (samples_per_block + 7) / 8; }
  std::int64_t LeastLastBlock() const { return (length - (BlocksPerChannel() - 1) * samples_per_block + 7) / 8; }
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

// The end of the blocks of the compressed samples whose data starts at one offset, or nullopt.
// Every sample takes at least one bit in a block, so a block of n samples is at least n / 8
// bytes long: the walk covers an eighth of a byte per sample at least, and the samples cannot
// claim more blocks than the source could hold. The headers share one chain of blocks, read
// once as far as the sample of most blocks reaches; each sample then checks the blocks it takes
// against counts of the blocks too small to be full, so that headers sharing the data cost no
// walk each.
std::optional<std::int64_t> CompressedEnd(SourceView& view, std::int64_t start, std::span<const SampleData> sharing) {
  std::int64_t blocks = 0;
  for (const SampleData& sample : sharing) blocks = std::max(blocks, sample.Blocks());
  std::vector<std::uint8_t> storage;
  std::vector<std::int64_t> sizes;
  std::int64_t at = sharing.front().data_at;
  for (std::int64_t b = 0; b < blocks; ++b) {
    const std::optional<Bytes> size = BytesAt(view, start + at, 2, storage);
    if (!size) return std::nullopt;
    sizes.push_back(*ReadLE16(*size, 0));
    at += 2 + sizes.back();
    if (at > view.Size() - start) return std::nullopt;
  }
  // By the least size of a full block (8-bit and 16-bit samples differ): how many of the first
  // n blocks are smaller, at [n].
  std::map<std::int64_t, std::vector<std::int64_t>> smaller;
  for (const SampleData& sample : sharing) {
    std::vector<std::int64_t>& counts = smaller[sample.LeastFullBlock()];
    if (!counts.empty()) continue;
    counts.push_back(0);
    for (const std::int64_t size : sizes) counts.push_back(counts.back() + (size < sample.LeastFullBlock() ? 1 : 0));
  }
  for (const SampleData& sample : sharing) {
    const std::vector<std::int64_t>& counts = smaller[sample.LeastFullBlock()];
    const std::int64_t per_channel = sample.BlocksPerChannel();
    // A channel's blocks: all full but its last.
    for (std::int64_t first = 0; first < sample.Blocks(); first += per_channel) {
      const auto from = static_cast<std::size_t>(first), last = static_cast<std::size_t>(first + per_channel - 1);
      if (counts[last] != counts[from] || sizes[last] < sample.LeastLastBlock()) return std::nullopt;
    }
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
  for (const Record& record : records) {
    if (record.kind == Kind::kInstrument) {
      const std::optional<Bytes> tag = BytesAt(view, start + record.at, 4, storage);
      if (!tag || !MatchesAt(*tag, 0, "IMPI")) return std::nullopt;
      end = std::max(end, record.at + kInstrumentSize);
    } else if (record.kind == Kind::kSample) {
      const std::optional<SampleData> sample = SampleAt(view, start, record.at);
      if (!sample) return std::nullopt;
      end = std::max(end, sample->end);
      if (sample->compressed) compressed.push_back(*sample);
    } else {
      const std::optional<Bytes> length = BytesAt(view, start + record.at, 2, storage);
      if (!length) return std::nullopt;
      end = std::max(end, record.at + kPatternHead + *ReadLE16(*length, 0));
    }
  }
  if (end > room) return std::nullopt;
  std::sort(compressed.begin(), compressed.end(),
            [](const SampleData& a, const SampleData& b) { return a.data_at < b.data_at; });
  compressed.erase(std::unique(compressed.begin(), compressed.end(),
                               [](const SampleData& a, const SampleData& b) {
                                 return a.data_at == b.data_at && a.channels == b.channels && a.length == b.length &&
                                        a.samples_per_block == b.samples_per_block;
                               }),
                   compressed.end());
  // The samples sharing one data offset, as [first, last) in `compressed`; each offset claims
  // the most bytes any of its samples does.
  std::vector<std::pair<std::size_t, std::size_t>> sharing;
  std::int64_t least_compressed_bytes = 0;
  for (std::size_t first = 0, last = 0; first < compressed.size(); first = last) {
    std::int64_t least = 0;
    for (last = first; last < compressed.size() && compressed[last].data_at == compressed[first].data_at; ++last)
      least = std::max(least, compressed[last].LeastBytes());
    sharing.emplace_back(first, last);
    least_compressed_bytes += least;
  }
  if (least_compressed_bytes > room) return std::nullopt;
  for (const auto& [first, last] : sharing) {
    const std::optional<std::int64_t> blocks_end =
        CompressedEnd(view, start, std::span<const SampleData>(compressed).subspan(first, last - first));
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
