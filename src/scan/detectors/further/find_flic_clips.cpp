// FLIC animations (Autodesk Animator's FLI, AF11, and Animator Pro's FLC, AF12): a 128-byte
// header (the file size, the magic at 4, the frame count, width, height, depth and speed) and
// chunks walked by their 32-bit sizes: frames (F1FA), and in FLC files a prefix (F100), a
// script (F1E0), a segment table (F1FB) or a Huffman table (F1FC). The walk ends at anything
// else or at a chunk that is not whole; the clip ends there, or at the header's file size when
// the chunks reach that far. An animation needs a frame. Where the chunks lead does not depend
// on the header they started from, so the walk is remembered.
#include <algorithm>
#include <iterator>

#include "scan/walk/chain_walk.h"
#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kHeaderSize = 128;
constexpr std::uint16_t kFliMagic = 0xAF11, kFlcMagic = 0xAF12;
constexpr std::uint16_t kFrame = 0xF1FA;
constexpr std::uint16_t kChunkTypes[] = {kFrame, 0xF100, 0xF1E0, 0xF1FB, 0xF1FC};
constexpr std::int64_t kFrameHead = 16;
constexpr std::int64_t kChunkHead = 6;
constexpr unsigned kFrameSeen = 1;

ChainStep ChunkAt(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, at, kChunkHead, storage);
  if (!head) return {-1, at, 0};
  const std::int64_t size = *ReadLE32(*head, 0);
  const std::uint16_t type = *ReadLE16(*head, 4);
  if (std::find(std::begin(kChunkTypes), std::end(kChunkTypes), type) == std::end(kChunkTypes) ||
      size < (type == kFrame ? kFrameHead : kChunkHead) || at + size > view.Size())
    return {-1, at, 0};
  return {at + size, -1, type == kFrame ? kFrameSeen : 0u};
}

struct Animation {
  std::int64_t end = 0;
  std::string info;
};

std::optional<Animation> AnimationAt(ScanState& state, std::int64_t start) {
  SourceView& view = state.View();
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start, kHeaderSize, storage);
  if (!header) return std::nullopt;
  const Bytes h = *header;
  const std::int64_t size = *ReadLE32(h, 0);
  const std::uint16_t magic = *ReadLE16(h, 4), frames = *ReadLE16(h, 6), width = *ReadLE16(h, 8),
                      height = *ReadLE16(h, 10), depth = *ReadLE16(h, 12);
  if ((magic != kFliMagic && magic != kFlcMagic) || size < kHeaderSize + kFrameHead || frames == 0 || width == 0 ||
      width > 4096 || height == 0 || height > 4096 || (depth != 0 && depth != 8 && depth != 15 && depth != 16 && depth != 24))
    return std::nullopt;
  const std::int64_t walked = WalkChain(state.Walks(ScanState::WalkKind::kFlicChunks), start + kHeaderSize,
                                        [&](std::int64_t at) { return ChunkAt(view, at); });
  if (WalkMemo::FlagsOf(walked) != kFrameSeen) return std::nullopt;
  const std::int64_t chunks_end = WalkMemo::EndOf(walked);
  Animation animation{start + size <= chunks_end ? start + size : chunks_end, {}};
  // FLI counts its speed in 1/70 seconds, FLC in milliseconds.
  const std::int64_t speed = magic == kFliMagic ? *ReadLE16(h, 16) * 1000 / 70 : *ReadLE32(h, 16);
  AddInfoLine(animation.info, "大小", std::to_string(width) + " x " + std::to_string(height));
  AddInfoLine(animation.info, "帧数", std::to_string(frames));
  AddInfoLine(animation.info, "速度", std::to_string(speed) + " 毫秒");
  return animation;
}

}  // namespace

void FindFlicClips(ScanState& state, const ClipTypeRecord& type) {
  std::optional<Animation> found;
  EachWalkedCandidate(
      state, {kFliSignature, kFlcSignature}, 4, type.extension, type.type_name,
      [&](std::int64_t start) -> std::optional<std::int64_t> {
        found = AnimationAt(state, start);
        if (!found) return std::nullopt;
        return found->end;
      },
      [&](std::int64_t, std::int64_t) { return found->info; });
}

}  // namespace rsf
