// Real JFIF images encoded with libjpeg-turbo.
#pragma once

#include "synth/byte_writer.h"

namespace rsf::synth {

// A baseline JFIF JPEG of `width` × `height` pixels showing a gradient picked by `seed`.
ByteVector JfifImage(int width, int height, unsigned seed, int quality = 75);

}  // namespace rsf::synth
