// GIF pictures and animations: "GIF87a" or "GIF89a", the logical screen (width, height, the
// global colour table's presence and size), the table, then blocks to the trailer (3B):
// extensions (21, a label, data sub-blocks) and images (2C, the image descriptor, a local
// colour table, the LZW code size and data sub-blocks). Sub-blocks are a length byte and that
// many bytes, a zero length ending them. A GIF needs an image and its trailer; anything else
// ends the walk without a clip. Where blocks and sub-block runs lead does not depend on where
// the walk came from, so both are remembered.
#include "scan/walk/chain_walk.h"
#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kScreenEnd = 13;  // signature and logical screen descriptor
constexpr std::uint8_t kExtension = 0x21, kImage = 0x2C, kTrailer = 0x3B;
constexpr std::int64_t kImageDescriptor = 10;
constexpr unsigned kImageSeen = 1;

std::int64_t ColourTableSize(std::uint8_t packed) { return (packed & 0x80) ? 3 << ((packed & 7) + 1) : 0; }

// The offset behind the zero length that ends the sub-blocks at `at`, or -1.
std::int64_t SubBlocksEnd(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  return WalkMemo::EndOf(WalkChain(state.Walks(ScanState::WalkKind::kGifSubBlocks), at, [&](std::int64_t here) {
    const std::optional<std::uint8_t> length = view.Byte(here);
    if (!length) return ChainStep{};
    if (*length == 0) return ChainStep{-1, here + 1, 0};
    return ChainStep{here + 1 + *length, -1, 0};
  }));
}

// The block at `at`: where the next one stands, or where the GIF ends.
ChainStep BlockAt(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  const std::optional<std::uint8_t> introducer = view.Byte(at);
  if (!introducer) return {};
  if (*introducer == kTrailer) return {-1, at + 1, 0};
  if (*introducer == kExtension) {
    const std::int64_t next = SubBlocksEnd(state, at + 2);
    return {next, -1, 0};
  }
  if (*introducer != kImage) return {};
  const std::optional<std::uint8_t> packed = view.Byte(at + kImageDescriptor - 1);
  if (!packed) return {};
  const std::int64_t code_size_at = at + kImageDescriptor + ColourTableSize(*packed);
  const std::optional<std::uint8_t> code_size = view.Byte(code_size_at);
  if (!code_size || *code_size < 1 || *code_size > 12) return {};
  const std::int64_t next = SubBlocksEnd(state, code_size_at + 1);
  return {next, -1, next > at ? kImageSeen : 0u};
}

std::optional<std::int64_t> FirstBlock(SourceView& view, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> screen = BytesAt(view, start, kScreenEnd, storage);
  if (!screen || *ReadLE16(*screen, 6) == 0 || *ReadLE16(*screen, 8) == 0) return std::nullopt;
  return start + kScreenEnd + ColourTableSize((*screen)[10]);
}

std::optional<std::int64_t> GifEnd(ScanState& state, std::int64_t start) {
  const std::optional<std::int64_t> first = FirstBlock(state.View(), start);
  if (!first) return std::nullopt;
  const std::int64_t walked = WalkChain(state.Walks(ScanState::WalkKind::kGifBlocks), *first,
                                        [&](std::int64_t at) { return BlockAt(state, at); });
  if (WalkMemo::EndOf(walked) < 0 || WalkMemo::FlagsOf(walked) != kImageSeen) return std::nullopt;
  return WalkMemo::EndOf(walked);
}

std::string GifInfo(ScanState& state, std::int64_t start, std::int64_t end) {
  std::vector<std::uint8_t> storage;
  const Bytes screen = *BytesAt(state.View(), start, kScreenEnd, storage);
  int frames = 0;
  for (std::int64_t at = *FirstBlock(state.View(), start); at < end;) {
    if (state.View().Byte(at) == kImage) ++frames;
    const ChainStep block = BlockAt(state, at);
    if (block.next <= at) break;
    at = block.next;
  }
  std::string text;
  AddInfoLine(text, "大小", std::to_string(*ReadLE16(screen, 6)) + " x " + std::to_string(*ReadLE16(screen, 8)));
  AddInfoLine(text, "帧数", std::to_string(frames));
  return text;
}

}  // namespace

void FindGifClips(ScanState& state, const ClipTypeRecord& type) {
  EachWalkedCandidate(
      state, {kGif87Signature, kGif89Signature}, 0, type.extension, type.type_name,
      [&](std::int64_t start) { return GifEnd(state, start); },
      [&](std::int64_t start, std::int64_t end) { return GifInfo(state, start, end); });
}

}  // namespace rsf
