// How large a picture the picture window takes. A header may declare up to 65,535 pixels a
// side in a few bytes; decoding that would need gigabytes, so the size is checked from the
// header before anything is decoded or allocated, and a larger picture is no picture to show
// in a window (it goes on to the media player or the shell).
#pragma once

#include <cstdint>

namespace rsf::ui {

inline constexpr std::uint64_t kMaxPicturePixels = 64ull * 1024 * 1024;
// The most libjpeg may allocate for one picture: the 64-megapixel picture's coefficients
// (progressive files keep all of them) with room to spare.
inline constexpr long kMaxJpegDecoderMemory = 512l * 1024 * 1024;
// Files larger than this are not read into memory for a preview.
inline constexpr std::uint64_t kMaxPictureFileBytes = 256ull * 1024 * 1024;

inline bool PictureSizeAllowed(std::uint64_t width, std::uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxPicturePixels / height;
}

}  // namespace rsf::ui
