// AVI stream information: frame rate, frame size, play length and codec of an AVI clip, read
// at fixed offsets from the first 255 bytes of the clip.
#include "clipinfo/maldoavi.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/text_encoding.h"
#include "clipinfo/codec_table.h"

namespace rsf {
namespace {

// Offsets from "RIFF" when the file has the usual layout: RIFF header (12 bytes), LIST hdrl
// (12), avih chunk header (8) and its 56 data bytes from 32, LIST strl (12), strh chunk header
// (8) and its data from 108. Nothing here is checked; the fields are taken where they stand.
constexpr std::size_t kMicroSecPerFrameAt = 32;
constexpr std::size_t kTotalFramesAt = 48;
constexpr std::size_t kWidthAt = 64;
constexpr std::size_t kHeightAt = 68;
constexpr std::size_t kHandlerAt = 112;
constexpr std::size_t kHandlerWidth = 4;

bool MatchesEntry(const CodecEntry& entry, std::string_view code) {
  if (!entry.digit_range) return code == entry.key;
  return code.size() == entry.key.size() + 1 && code.starts_with(entry.key) && code.back() >= '0' &&
         code.back() <= '9';
}

// The handler field up to its first zero byte. Bytes past the end of a short block count as
// zero, so they end the code just like a stored zero would.
std::string HandlerCode(Bytes block) {
  if (block.size() <= kHandlerAt) return {};
  return TextUpToZero(block.subspan(kHandlerAt, std::min(kHandlerWidth, block.size() - kHandlerAt)));
}

}  // namespace

std::string GetCodecName(std::string_view code) {
  const CodecEntry* found = nullptr;
  for (const CodecEntry& entry : CodecTable()) {
    if (MatchesEntry(entry, code)) found = &entry;
  }
  if (found != nullptr) return std::string(found->name);
  return GbkToUtf8(code);
}

std::string GetAVIInfo(Bytes block) {
  const std::uint32_t micro_sec_per_frame = ReadLE32(block, kMicroSecPerFrameAt).value_or(0);
  const std::uint32_t total_frames = ReadLE32(block, kTotalFramesAt).value_or(0);
  const auto width = static_cast<std::int32_t>(ReadLE32(block, kWidthAt).value_or(0));
  const auto height = static_cast<std::int32_t>(ReadLE32(block, kHeightAt).value_or(0));
  const std::string code = HandlerCode(block);

  // A frame time of 0 has no rate; 0 is shown rather than dividing by it.
  const std::uint32_t fps = micro_sec_per_frame == 0 ? 0 : 1000000u / micro_sec_per_frame;
  // Two 32-bit factors always fit in 64 bits.
  const std::uint64_t seconds = static_cast<std::uint64_t>(micro_sec_per_frame) * total_frames / 1000000u;

  std::string text = "FPS : " + std::to_string(fps);
  text += "\r\n大小 : " + std::to_string(width) + " x " + std::to_string(height);
  text += "\r\n播放长度 : " + std::to_string(seconds / 60) + ":" + std::to_string(seconds % 60);
  text += "\r\n编码器 : " + GetCodecName(code) + " (" + GbkToUtf8(code) + ")";
  return text;
}

}  // namespace rsf
