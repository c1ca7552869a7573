// GIF and PNG pictures built in memory that picture readers decode: GIF image data LZW-coded
// with a clear code often enough to keep codes 9 bits wide, PNG image data in stored (not
// compressed) deflate blocks.
#pragma once

#include <cstdint>

#include "synth/byte_writer.h"

namespace rsf::synth {

// A GIF89a of `frames` images of width x height (an animation when more than one), each frame
// a different shade of a 256-colour palette, with a comment extension before the first.
ByteVector GifFile(std::uint16_t width, std::uint16_t height, int frames = 1);

// An 8-bit RGB PNG of width x height with a text chunk.
ByteVector PngFile(std::uint32_t width, std::uint32_t height);

}  // namespace rsf::synth
