// Creative Voice files: "Creative Voice File" 1A, the offset of the first block, the version and
// its check word (the version's complement plus 1234h); then blocks, each a type byte and (but
// for the terminator, type 0) a 24-bit size, walked to the terminator. A file cut short or
// followed by something that is no block ends after its last whole block. The information text
// comes from the first sound block: type 1 (a time constant and a codec), 9 (rate, bits and
// channels given outright), with an extended block (type 8) before a type 1 block setting the
// rate and the channels. SoX's type 9 blocks state 8 bytes less than they hold; the walk
// allows for that where the stated size leads nowhere.
#include "scan/walk/chain_walk.h"
#include "scan/detectors/further/further_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kHeaderSize = 26;
constexpr std::uint8_t kTerminator = 0;
constexpr std::uint8_t kSoundData = 1;
constexpr std::uint8_t kSoundContinue = 2;
constexpr std::uint8_t kExtended = 8;
constexpr std::uint8_t kNewSoundData = 9;
constexpr std::uint8_t kLastBlockType = 9;
constexpr unsigned kSoundSeen = 1;
constexpr int kInfoBlocks = 16;  // blocks looked through for the first sound block
constexpr std::int64_t kSoxShortfall = 8;

struct Block {
  std::uint8_t type = 0;
  std::int64_t end = 0;  // behind the block
};

std::optional<Block> BlockAt(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, at, 4, storage);
  const std::optional<std::uint8_t> type = view.Byte(at);
  if (!type) return std::nullopt;
  if (*type == kTerminator) return Block{kTerminator, at + 1};
  if (!head || *type > kLastBlockType) return std::nullopt;
  const std::int64_t size = *ReadLE24(*head, 1);
  if (at + 4 + size > view.Size()) return std::nullopt;
  return Block{*type, at + 4 + size};
}

// The end of the blocks from `at` (behind the terminator, or behind the last whole block) and
// whether a sound block lay on the way, packed.
std::int64_t BlocksFrom(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  return WalkChain(state.Walks(ScanState::WalkKind::kVocBlocks), at, [&](std::int64_t here) {
    const std::optional<Block> block = BlockAt(view, here);
    if (!block) return ChainStep{-1, here, 0};
    if (block->type == kTerminator) return ChainStep{-1, block->end, 0};
    const bool sound = block->type == kSoundData || block->type == kSoundContinue || block->type == kNewSoundData;
    std::int64_t next = block->end;
    // SoX gives a type 9 block's size 8 bytes short (it counts 4 of the 12 bytes before the
    // sound): where nothing that is a block follows, the block ends 8 bytes later if a block
    // (or the terminator) stands there.
    if (block->type == kNewSoundData && !BlockAt(view, next) && BlockAt(view, next + kSoxShortfall)) next += kSoxShortfall;
    return ChainStep{next, -1, sound ? kSoundSeen : 0u};
  });
}

std::optional<std::int64_t> FirstBlock(SourceView& view, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> header = BytesAt(view, start, kHeaderSize, storage);
  if (!header) return std::nullopt;
  const std::uint16_t offset = *ReadLE16(*header, 20), version = *ReadLE16(*header, 22), check = *ReadLE16(*header, 24);
  if (check != static_cast<std::uint16_t>(~version + 0x1234) || offset < kHeaderSize || offset > 4096) return std::nullopt;
  return start + offset;
}

std::optional<std::int64_t> VocEnd(ScanState& state, std::int64_t start) {
  const std::optional<std::int64_t> first = FirstBlock(state.View(), start);
  if (!first) return std::nullopt;
  const std::int64_t walked = BlocksFrom(state, *first);
  if (WalkMemo::FlagsOf(walked) != kSoundSeen) return std::nullopt;
  return WalkMemo::EndOf(walked);
}

std::string VocInfo(SourceView& view, std::int64_t start, std::int64_t end) {
  std::vector<std::uint8_t> storage;
  std::int64_t rate = 0;
  int bits = 0, channels = 0;
  bool extended = false;
  std::int64_t at = *FirstBlock(view, start);
  for (int n = 0; n < kInfoBlocks && at < end; ++n) {
    const std::optional<Block> block = BlockAt(view, at);
    if (!block || block->type == kTerminator) break;
    // The fields each kind of block starts with: 2 bytes (type 1), 4 (type 8), 12 (type 9).
    const std::size_t fields = block->type == kSoundData ? 2 : block->type == kExtended ? 4 : 12;
    const std::optional<Bytes> body =
        block->end - at - 4 >= static_cast<std::int64_t>(fields) ? BytesAt(view, at + 4, fields, storage) : std::nullopt;
    if (block->type == kExtended && body) {
      const std::uint16_t time_constant = *ReadLE16(*body, 0);
      channels = (*body)[3] + 1;
      rate = 256000000 / (65536 - time_constant) / channels;
      extended = true;
    } else if (block->type == kSoundData && body) {
      if (!extended) {
        rate = 1000000 / (256 - (*body)[0]);
        channels = 1;
      }
      constexpr int kBitsOfCodec[] = {8, 4, 3, 2, 16};
      bits = (*body)[1] < 5 ? kBitsOfCodec[(*body)[1]] : 8;
      break;
    } else if (block->type == kNewSoundData && body) {
      rate = *ReadLE32(*body, 0);
      bits = (*body)[4];
      channels = (*body)[5];
      break;
    }
    at = block->end;
  }
  std::string text;
  if (bits == 0) return text;
  AddInfoLine(text, "频率", std::to_string(rate) + " Hz");
  AddInfoLine(text, "位", std::to_string(bits));
  AddInfoLine(text, "声道", std::to_string(channels));
  return text;
}

}  // namespace

void FindVocClips(ScanState& state, const ClipTypeRecord& type) {
  EachWalkedCandidate(
      state, {kVocSignature}, 0, type.extension, type.type_name,
      [&](std::int64_t start) { return VocEnd(state, start); },
      [&](std::int64_t start, std::int64_t end) { return VocInfo(state.View(), start, end); });
}

}  // namespace rsf
