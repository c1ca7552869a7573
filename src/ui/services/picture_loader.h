// The picture loader of the picture window: it chooses the decoder by the file's extension
// among the picture formats it knows, Windows bitmaps (".bmp"), GIF (".gif") and PNG (".png")
// through Qt's readers, and JPEG (".jpg", ".jpeg") through libjpeg-turbo.
#pragma once

#include <QImage>
#include <optional>
#include <string>

namespace rsf::ui {

// The picture in the file, or nullopt when the file is no picture: an extension of no picture
// format, a file that cannot be read, or contents that do not decode.
std::optional<QImage> LoadPicture(const std::string& path);

}  // namespace rsf::ui
