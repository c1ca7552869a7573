// Picture files decoded by the Windows Imaging Component for the picture window. The decoder is
// chosen by the file's extension, as the Qt program's picture loader does: Windows bitmaps
// (".bmp"), GIF (".gif"), PNG (".png") and JPEG (".jpg", ".jpeg"), in any case; an animation
// gives its first frame. The desktop core's picture limits hold before any pixel is decoded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rsf::win32 {

struct DecodedPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  // Top-down rows of 32-bit pixels (blue, green, red, unused), `width` pixels each, with what is
  // transparent laid over the background colour.
  std::vector<std::uint8_t> pixels;
};

// The picture in the file, or nullopt when it is none the window shows: an extension of no
// picture format, a file that cannot be read or is larger than the limit, a frame size over the
// limit (as the decoder reads it from the header, before it decodes any pixel), or contents that
// do not decode. `background` is a COLORREF. Joins the calling thread to COM for the call.
std::optional<DecodedPicture> DecodePictureFile(const std::string& path, std::uint32_t background);

}  // namespace rsf::win32
