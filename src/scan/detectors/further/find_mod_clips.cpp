// 31-sample tracker modules (ProTracker and the trackers after it): a 20-byte title, 31 sample
// records of 30 bytes (name, length in words, finetune, volume, loop start and length), the song
// length, a restart byte, the 128-entry order table and, at 1,080, the tag that names the format
// and the channel count. Then the patterns (64 rows of 4 bytes per channel; as many as the
// highest pattern number in the order table says; StarTrekker's FLT8 counts pattern halves)
// and the samples' data. A candidate whose records are out of range, or whose data would run
// past the source end, is passed over.
#include <algorithm>

#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kHeaderSize = 1084;
constexpr int kSamples = 31;
constexpr std::int64_t kRowsPerPattern = 64;
constexpr std::int64_t kBytesPerNote = 4;

int ChannelsOfTag(Bytes tag) {
  const auto digit = [](std::uint8_t c) { return c >= '0' && c <= '9' ? c - '0' : -1; };
  if (MatchesAt(tag, 0, "FLT8")) return 8;
  if (MatchesAt(tag, 1, "CHN") && digit(tag[0]) > 0) return digit(tag[0]);
  if (MatchesAt(tag, 2, "CH") && digit(tag[0]) >= 0 && digit(tag[1]) >= 0) return digit(tag[0]) * 10 + digit(tag[1]);
  return 4;  // M.K., M!K!, FLT4
}

using Module = WalkedClip;

std::optional<Module> ModuleAt(SourceView& view, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start, kHeaderSize, storage);
  if (!header) return std::nullopt;
  const Bytes h = *header;
  std::int64_t sample_bytes = 0;
  for (int i = 0; i < kSamples; ++i) {
    const std::size_t record = 20 + 30 * static_cast<std::size_t>(i);
    const std::uint8_t finetune = h[record + 24], volume = h[record + 25];
    if (finetune > 15 || volume > 64) return std::nullopt;
    sample_bytes += 2 * std::int64_t{*ReadBE16(h, record + 22)};
  }
  const std::uint8_t song_length = h[950];
  if (song_length == 0 || song_length > 128) return std::nullopt;
  const Bytes orders = h.subspan(952, 128);
  if (std::any_of(orders.begin(), orders.end(), [](std::uint8_t order) { return order > 127; })) return std::nullopt;
  const Bytes tag = h.subspan(static_cast<std::size_t>(kModTagOffset), 4);
  const int highest = *std::max_element(orders.begin(), orders.end());
  // StarTrekker's 8-channel files store each pattern as two 4-channel halves, the orders
  // counting halves (even numbers only).
  const bool halves = MatchesAt(tag, 0, "FLT8");
  const int patterns = halves ? highest / 2 + 1 : highest + 1;
  const int channels = ChannelsOfTag(tag);
  const std::int64_t size = kHeaderSize + patterns * kRowsPerPattern * kBytesPerNote * channels + sample_bytes;
  if (size > view.Size() - start) return std::nullopt;
  Module module{start + size, {}};
  AddInfoLine(module.info, "标题", NameField(h.first(20)));
  AddInfoLine(module.info, "声道", std::to_string(channels));
  AddInfoLine(module.info, "图案", std::to_string(patterns));
  return module;
}

}  // namespace

void FindModClips(ScanState& state, const ClipTypeRecord& type) {
  SourceView& view = state.View();
  EachWalkedClip(state, std::span<const std::string_view>(kModTags), kModTagOffset, type.extension,
                 type.type_name, [&](std::int64_t start) { return ModuleAt(view, start); });
}

}  // namespace rsf
