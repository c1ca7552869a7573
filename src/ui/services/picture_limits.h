// How large a picture the picture window takes: the desktop core's limits, shared with the
// Win32 program's picture window (desktop/picture_limits.h), and libjpeg's memory for them.
#pragma once

#include "desktop/picture_limits.h"

namespace rsf::ui {

using desktop::kMaxPictureFileBytes;
using desktop::kMaxPicturePixels;
using desktop::PictureSizeAllowed;
// The most libjpeg may allocate for one picture: the 64-megapixel picture's coefficients
// (progressive files keep all of them) with room to spare.
inline constexpr long kMaxJpegDecoderMemory = 512l * 1024 * 1024;

}  // namespace rsf::ui
