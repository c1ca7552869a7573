// JPEG pictures for the picture window, decoded with libjpeg-turbo.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <vector>

namespace rsf::ui {

// The picture in `bytes` (a whole JPEG file), or nullopt when libjpeg cannot decode it. A
// picture whose data ends early still decodes; what is missing stays grey, as libjpeg fills it.
std::optional<QImage> DecodeJpeg(const std::vector<std::uint8_t>& bytes);

}  // namespace rsf::ui
