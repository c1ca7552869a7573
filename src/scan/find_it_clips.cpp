// Impulse Tracker modules: "IMPM", the song name, the order, instrument, sample and pattern
// counts at 32, the song message's length and offset at 54, the order list at 192 and then the
// instruments', samples' and patterns' 32-bit offsets. An instrument ("IMPI") is 554 bytes, a
// sample header ("IMPS") 80 bytes pointing to its data: length in samples, twice the bytes for
// 16-bit and for stereo samples; compressed samples (IT 2.14) are blocks of a 16-bit size and
// that many bytes, one per 32,768 8-bit or 16,384 16-bit samples and channel. A pattern is its
// packed length, its rows, four reserved bytes and the data. The clip ends behind the furthest
// of them all.
#include <algorithm>

#include "scan/more_type_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kHeaderSize = 192;
constexpr std::int64_t kInstrumentSize = 554;
constexpr std::int64_t kSampleHeaderSize = 80;
constexpr std::int64_t kPatternHead = 8;
constexpr std::uint8_t kSamplePresent = 1, kSample16Bit = 2, kSampleStereo = 4, kSampleCompressed = 8;
constexpr std::uint16_t kMessageFlag = 1;

struct Module {
  std::int64_t end = 0;
  std::string info;
};

// The end of the sample data a sample header at `at` addresses (file offsets), or nullopt.
std::optional<std::int64_t> SampleDataEnd(SourceView& view, std::int64_t start, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start + at, kSampleHeaderSize, storage);
  if (!header || !MatchesAt(*header, 0, "IMPS")) return std::nullopt;
  const std::uint8_t flags = (*header)[0x12];
  const std::int64_t length = *ReadLE32(*header, 0x30);
  const std::int64_t data_at = *ReadLE32(*header, 0x48);
  std::int64_t end = at + kSampleHeaderSize;
  if (!(flags & kSamplePresent) || length == 0) return end;
  const int channels = (flags & kSampleStereo) ? 2 : 1;
  if (!(flags & kSampleCompressed)) return std::max(end, data_at + length * channels * ((flags & kSample16Bit) ? 2 : 1));
  const std::int64_t per_block = (flags & kSample16Bit) ? 0x4000 : 0x8000;
  const std::int64_t blocks = channels * ((length + per_block - 1) / per_block);
  std::int64_t block_at = data_at;
  for (std::int64_t b = 0; b < blocks; ++b) {
    const std::optional<Bytes> size = BytesAt(view, start + block_at, 2, storage);
    if (!size) return std::nullopt;
    block_at += 2 + *ReadLE16(*size, 0);
    if (block_at > view.Size() - start) return std::nullopt;
  }
  return std::max(end, block_at);
}

std::optional<Module> ModuleAt(SourceView& view, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start, kHeaderSize, storage);
  if (!header) return std::nullopt;
  const Bytes h = *header;
  const std::uint16_t orders = *ReadLE16(h, 32), instruments = *ReadLE16(h, 34), samples = *ReadLE16(h, 36),
                      patterns = *ReadLE16(h, 38), special = *ReadLE16(h, 46), message_length = *ReadLE16(h, 54);
  const std::uint32_t message_at = *ReadLE32(h, 56);
  if (orders > 1024 || instruments > 255 || samples > 4000 || patterns > 4000) return std::nullopt;
  const std::int64_t offsets_at = kHeaderSize + orders;
  const std::size_t offset_count = std::size_t{instruments} + samples + patterns;
  std::vector<std::uint8_t> table_storage;
  const std::optional<Bytes> table = BytesAt(view, start + offsets_at, 4 * offset_count, table_storage);
  if (!table) return std::nullopt;
  const auto offset = [&](std::size_t i) -> std::int64_t { return *ReadLE32(*table, 4 * i); };
  std::int64_t end = offsets_at + 4 * static_cast<std::int64_t>(offset_count);
  if ((special & kMessageFlag) && message_length > 0) end = std::max(end, std::int64_t{message_at} + message_length);
  for (std::size_t i = 0; i < instruments; ++i) {
    if (offset(i) == 0) continue;
    const std::optional<Bytes> tag = BytesAt(view, start + offset(i), 4, storage);
    if (!tag || !MatchesAt(*tag, 0, "IMPI")) return std::nullopt;
    end = std::max(end, offset(i) + kInstrumentSize);
  }
  for (std::size_t i = instruments; i < std::size_t{instruments} + samples; ++i) {
    if (offset(i) == 0) continue;
    const std::optional<std::int64_t> sample_end = SampleDataEnd(view, start, offset(i));
    if (!sample_end) return std::nullopt;
    end = std::max(end, *sample_end);
  }
  for (std::size_t i = std::size_t{instruments} + samples; i < offset_count; ++i) {
    if (offset(i) == 0) continue;  // an empty pattern of 64 rows
    const std::optional<Bytes> length = BytesAt(view, start + offset(i), 2, storage);
    if (!length) return std::nullopt;
    end = std::max(end, offset(i) + kPatternHead + *ReadLE16(*length, 0));
  }
  if (end > view.Size() - start) return std::nullopt;
  Module module{start + end, {}};
  AddInfoLine(module.info, "标题", NameField(h.subspan(4, 26)));
  AddInfoLine(module.info, "图案", std::to_string(patterns));
  AddInfoLine(module.info, "采样", std::to_string(samples));
  return module;
}

}  // namespace

void FindItClips(ScanState& state) {
  SourceView& view = state.View();
  std::optional<Module> found;
  EachWalkedCandidate(
      state, {kItSignature}, 0, kItType.Extension, kItType.TypeName,
      [&](std::int64_t start) -> std::optional<std::int64_t> {
        found = ModuleAt(view, start);
        if (!found) return std::nullopt;
        return found->end;
      },
      [&](std::int64_t, std::int64_t) { return found->info; });
}

}  // namespace rsf
