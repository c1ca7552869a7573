// JPEG encoding through libjpeg-turbo into memory.
#include "synth/jpeg_synth.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace rsf::synth {

ByteVector JfifImage(int width, int height, unsigned seed, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long out_size = 0;
  jpeg_mem_dest(&info, &out, &out_size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.write_JFIF_header = TRUE;
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    const unsigned y = info.next_scanline;
    for (int x = 0; x < width; ++x) {
      row[x * 3 + 0] = static_cast<unsigned char>((x * 255 / std::max(1, width - 1) + seed * 40) & 0xFF);
      row[x * 3 + 1] = static_cast<unsigned char>((y * 255 / std::max(1u, info.image_height - 1)) & 0xFF);
      row[x * 3 + 2] = static_cast<unsigned char>((seed * 97 + (x ^ y)) & 0xFF);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  ByteVector bytes(out, out + out_size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

}  // namespace rsf::synth
