// Windows bitmaps by their headers: the file header and an info header of a known size (the
// 12-byte OS/2 one or the 40- to 124-byte Windows ones), one plane, a known bit count and
// compression; a negative height (a top-down bitmap) is taken too. The size follows from the
// header: the pixel data offset and the rows (each padded to 32 bits), or for compressed
// pictures the image-size field. The file-size field decides where it agrees with that (a few
// bytes of padding at the end allowed), and where it is 0 the header alone does. A colour
// profile embedded after the pixels (version 5 headers) belongs to the file.
#include <algorithm>
#include <cstdlib>

#include "clipinfo/maldobmp.h"
#include "scan/detectors/precise/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::int64_t kFileHeader = 14;
constexpr std::int64_t kTrailingSlack = 4;  // pad bytes some writers leave after the pixels
constexpr std::int64_t kMaxSide = 65535;
constexpr std::uint32_t kEmbeddedProfile = 0x4D424544;  // "MBED"

struct BitmapHead {
  std::int64_t end = 0;
  std::string info;
};

bool KnownBitCount(std::uint16_t bits) {
  return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::optional<BitmapHead> BitmapAt(SourceView& view, std::int64_t start) {
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(start, 54, storage);
  if (!head.Skip(2)) return std::nullopt;
  const std::optional<std::uint32_t> file_size = head.ReadLE32();
  if (!head.Skip(4)) return std::nullopt;
  const std::optional<std::uint32_t> pixels_at = head.ReadLE32();
  const std::optional<std::uint32_t> info_size = head.ReadLE32();
  if (!file_size || !pixels_at || !info_size) return std::nullopt;
  std::int64_t width = 0, height = 0;
  std::uint16_t planes = 0, bits = 0;
  std::uint32_t compression = 0, image_size = 0;
  if (*info_size == 12) {
    const auto w = head.ReadLE16(), h = head.ReadLE16(), p = head.ReadLE16(), b = head.ReadLE16();
    if (!w || !h || !p || !b) return std::nullopt;
    width = *w, height = *h, planes = *p, bits = *b;
  } else if (*info_size == 40 || *info_size == 52 || *info_size == 56 || *info_size == 64 || *info_size == 108 ||
             *info_size == 124) {
    const auto w = head.ReadLE32(), h = head.ReadLE32();
    const auto p = head.ReadLE16(), b = head.ReadLE16();
    const auto c = head.ReadLE32(), s = head.ReadLE32();
    if (!w || !h || !p || !b || !c || !s) return std::nullopt;
    width = static_cast<std::int32_t>(*w), height = static_cast<std::int32_t>(*h), planes = *p, bits = *b;
    compression = *c, image_size = *s;
  } else {
    return std::nullopt;
  }
  if (planes != 1 || !KnownBitCount(bits) || width < 1 || width > kMaxSide || height == 0 ||
      std::abs(height) > kMaxSide || compression > 6 || *pixels_at < kFileHeader + *info_size)
    return std::nullopt;
  std::int64_t size = 0;
  if (compression == 0 || compression == 3 || compression == 6) {
    const std::int64_t stride = (width * bits + 31) / 32 * 4;
    size = *pixels_at + stride * std::abs(height);
  } else {
    if (image_size == 0) return std::nullopt;
    size = std::int64_t{*pixels_at} + image_size;
  }
  // A version 5 header may embed a colour profile, stored after the pixels.
  if (*info_size == 124) {
    std::vector<std::uint8_t> v5_storage;
    ByteCursor colour_space = view.ReadRecord(start + kFileHeader + 56, 4, v5_storage);
    const std::optional<std::uint32_t> kind = colour_space.ReadLE32();
    ByteCursor profile = view.ReadRecord(start + kFileHeader + 112, 8, v5_storage);
    const std::optional<std::uint32_t> profile_at = profile.ReadLE32(), profile_size = profile.ReadLE32();
    if (kind && *kind == kEmbeddedProfile && profile_at && profile_size && *profile_size > 0)
      size = std::max(size, kFileHeader + std::int64_t{*profile_at} + *profile_size);
  }
  if (*file_size >= size && *file_size <= size + kTrailingSlack) size = *file_size;
  if (size > view.Size() - start) return std::nullopt;
  return BitmapHead{start + size, BMPInfoText(static_cast<std::uint32_t>(width),
                                              static_cast<std::uint32_t>(std::abs(height)), bits)};
}

}  // namespace

void FindPreciseBitmapClips(ScanState& state) {
  SourceView& view = state.View();
  std::optional<BitmapHead> found;
  EachWalkedCandidate(
      state, {kBitmapType.Signature}, 0, kBitmapType.Extension, kBitmapType.TypeName,
      [&](std::int64_t start) -> std::optional<std::int64_t> {
        found = BitmapAt(view, start);
        if (!found) return std::nullopt;
        return found->end;
      },
      [&](std::int64_t, std::int64_t) { return found->info; });
}

}  // namespace rsf
