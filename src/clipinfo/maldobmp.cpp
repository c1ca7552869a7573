// Bitmap header plausibility test and information text (size and bits per pixel), read from
// the first 35 bytes of a candidate starting at its "BM".
#include "clipinfo/maldobmp.h"

#include <cstdint>

namespace rsf {
namespace {

// The 14-byte file header is followed by the info header, whose 32-bit width and height sit
// at 18 and 22 and whose 16-bit bit count sits at 28. Only the low halves of width and height
// are looked at, so a top-down bitmap (negative height) has a low half of 4000 or more for
// every height down to -61536.
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kBitsPerPixelAt = 28;
constexpr std::uint16_t kMaxSide = 3999;

struct BmpFields {
  std::uint16_t width;
  std::uint16_t height;
  std::uint16_t bits_per_pixel;
};

BmpFields ReadFields(Bytes block) {
  return {ReadLE16(block, kWidthAt).value_or(0), ReadLE16(block, kHeightAt).value_or(0),
          ReadLE16(block, kBitsPerPixelAt).value_or(0)};
}

bool IsPlausibleBitCount(std::uint16_t bits) {
  switch (bits) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
    case 48:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsBMPHeader(Bytes block) {
  if (block.size() < kBmpInfoBytes) return false;
  const BmpFields fields = ReadFields(block);
  return fields.width >= 1 && fields.width <= kMaxSide && fields.height >= 1 && fields.height <= kMaxSide &&
         IsPlausibleBitCount(fields.bits_per_pixel);
}

std::string GetBMPInfo(Bytes block) {
  const BmpFields fields = ReadFields(block);
  return BMPInfoText(fields.width, fields.height, fields.bits_per_pixel);
}

std::string BMPInfoText(std::uint32_t width, std::uint32_t height, std::uint16_t bits_per_pixel) {
  return "大小 : " + std::to_string(width) + " x " + std::to_string(height) + "\r\nBPP : " + std::to_string(bits_per_pixel);
}

}  // namespace rsf
