// How large a picture the picture window takes, the same for every front end. A header may
// declare up to 65,535 pixels a side in a few bytes; decoding that would need gigabytes, so each
// front end checks the size its decoder reads from the header before anything is decoded or
// allocated, and a larger picture is no picture to show in a window (it goes on to the media
// player or the shell).
#pragma once

#include <cstdint>

namespace rsf::desktop {

inline constexpr std::uint64_t kMaxPicturePixels = 64ull * 1024 * 1024;
// Files larger than this are not read for a preview.
inline constexpr std::uint64_t kMaxPictureFileBytes = 256ull * 1024 * 1024;

inline constexpr bool PictureSizeAllowed(std::uint64_t width, std::uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxPicturePixels / height;
}

}  // namespace rsf::desktop
