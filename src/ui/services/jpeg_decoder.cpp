// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to the
// setjmp in Decode. Only plain values live in that frame's scope between setjmp and the jump,
// so nothing is left without its destructor. Warnings (a truncated file, extra bytes) are
// not shown.
#include "ui/services/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "ui/services/picture_limits.h"

namespace rsf::ui {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void OutputMessage(j_common_ptr) {}

// Decodes into `picture` (RGB888); false on any error. `picture` lives in the caller's frame.
bool Decode(const std::vector<std::uint8_t>& bytes, QImage& picture) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ErrorExit;
  errors.base.output_message = OutputMessage;
  if (setjmp(errors.escape) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kMaxJpegDecoderMemory;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  // The declared size decides before any pixel is decoded.
  if (!PictureSizeAllowed(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || !PictureSizeAllowed(info.output_width, info.output_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  picture = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
  if (picture.isNull()) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<QImage> DecodeJpeg(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return std::nullopt;
  QImage picture;
  if (!Decode(bytes, picture)) return std::nullopt;
  return picture;
}

}  // namespace rsf::ui
