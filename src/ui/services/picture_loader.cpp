// Picture formats by extension, compared without regard to case as the desktop does: bitmaps,
// GIF and PNG through Qt's readers, JPEG through libjpeg-turbo.
#include "ui/services/picture_loader.h"

#include <QImageReader>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "desktop/file_extension.h"
#include "ui/display_text.h"
#include "ui/services/jpeg_decoder.h"
#include "ui/services/picture_limits.h"

namespace rsf::ui {
namespace {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxPictureFileBytes) return std::nullopt;
  file.seekg(0);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return std::nullopt;
  return bytes;
}

// A picture in a format of Qt's own readers (bitmaps, GIF, PNG); an animation shows its first
// frame.
std::optional<QImage> LoadWithQt(const std::string& path, const char* format) {
  QImageReader reader(PathFromLocal(path), format);
  reader.setDecideFormatFromContent(false);
  // The header's size decides before the reader allocates the picture (Qt reports a
  // top-down bitmap's height as the header has it, negative); the allocation limit holds
  // where the reader cannot tell the size beforehand.
  const QSize size = reader.size();
  if (size != QSize(-1, -1) &&
      !PictureSizeAllowed(static_cast<std::uint64_t>(std::abs(size.width())), static_cast<std::uint64_t>(std::abs(size.height()))))
    return std::nullopt;
  reader.setAllocationLimit(static_cast<int>(kMaxPicturePixels * 4 / (1024 * 1024)));
  QImage picture = reader.read();
  if (picture.isNull()) return std::nullopt;
  return picture;
}

std::optional<QImage> LoadJpeg(const std::string& path) {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return DecodeJpeg(*bytes);
}

}  // namespace

std::optional<QImage> LoadPicture(const std::string& path) {
  const std::string extension = desktop::LowerExtension(path);
  if (extension == ".bmp") return LoadWithQt(path, "bmp");
  if (extension == ".gif") return LoadWithQt(path, "gif");
  if (extension == ".png") return LoadWithQt(path, "png");
  if (extension == ".jpg" || extension == ".jpeg") return LoadJpeg(path);
  return std::nullopt;
}

}  // namespace rsf::ui
