// GDI draws each text in white on black into a picture of its own; its brightness is the text's
// coverage, with which the text's colour is laid over the rasterised shapes.
#include "win32/picture_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

HBITMAP TopDownSection(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// How much of each pixel the text covers, 0 .. 255.
std::vector<std::uint8_t> TextCoverage(const desktop::PictureText& text, double scale, int width, int height) {
  std::vector<std::uint8_t> coverage(static_cast<std::size_t>(width) * height, 0);
  void* bits = nullptr;
  HBITMAP section = TopDownSection(width, height, &bits);
  HDC dc = ::CreateCompatibleDC(nullptr);
  if (section == nullptr || dc == nullptr) {
    if (section != nullptr) ::DeleteObject(section);
    if (dc != nullptr) ::DeleteDC(dc);
    return coverage;
  }
  HGDIOBJ old_bitmap = ::SelectObject(dc, section);
  std::memset(bits, 0, static_cast<std::size_t>(width) * height * 4);
  HFONT font = ::CreateFontW(-static_cast<int>(std::lround(text.pixel_size * scale)), 0, 0, 0,
                             text.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS,
                             text.family.empty() ? L"Segoe UI" : Wide(text.family).c_str());
  HGDIOBJ old_font = ::SelectObject(dc, font);
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::SetBkMode(dc, TRANSPARENT);
  RECT box{static_cast<LONG>(std::lround(text.box.left * scale)), static_cast<LONG>(std::lround(text.box.top * scale)),
           static_cast<LONG>(std::lround((text.box.left + text.box.width) * scale)),
           static_cast<LONG>(std::lround((text.box.top + text.box.height) * scale))};
  const UINT align = text.align == desktop::PictureText::Align::kCentre ? DT_CENTER : DT_LEFT;
  std::wstring wide = Wide(text.text);
  ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::GdiFlush();
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0; i < coverage.size(); ++i)
    coverage[i] = std::max({pixels[i * 4], pixels[i * 4 + 1], pixels[i * 4 + 2]});
  ::SelectObject(dc, old_font);
  ::SelectObject(dc, old_bitmap);
  ::DeleteObject(font);
  ::DeleteDC(dc);
  ::DeleteObject(section);
  return coverage;
}

// `colour` at `coverage` over a straight-alpha pixel (red, green, blue, alpha).
void LayOver(std::uint8_t* pixel, desktop::Colour colour, int coverage) {
  const double top = colour.alpha / 255.0 * coverage / 255.0;
  const double under = pixel[3] / 255.0 * (1 - top);
  const double alpha = top + under;
  if (alpha <= 0) return;
  auto mix = [&](std::uint8_t over, std::uint8_t below) {
    return static_cast<std::uint8_t>(std::lround((over * top + below * under) / alpha));
  };
  pixel[0] = mix(colour.red, pixel[0]);
  pixel[1] = mix(colour.green, pixel[1]);
  pixel[2] = mix(colour.blue, pixel[2]);
  pixel[3] = static_cast<std::uint8_t>(std::lround(alpha * 255));
}

}  // namespace

HBITMAP PictureBitmap(const desktop::VectorPicture& picture, double scale) {
  desktop::RgbaImage image = desktop::Rasterize(picture, scale);
  for (const desktop::PictureText& text : picture.texts) {
    const std::vector<std::uint8_t> coverage = TextCoverage(text, scale, image.width, image.height);
    for (std::size_t i = 0; i < coverage.size(); ++i)
      if (coverage[i] > 0) LayOver(&image.pixels[i * 4], text.colour, coverage[i]);
  }
  void* bits = nullptr;
  HBITMAP section = TopDownSection(image.width, image.height, &bits);
  if (section == nullptr) return nullptr;
  auto* out = static_cast<std::uint8_t*>(bits);
  for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
    out[i] = image.pixels[i + 2];
    out[i + 1] = image.pixels[i + 1];
    out[i + 2] = image.pixels[i];
    out[i + 3] = image.pixels[i + 3];
  }
  return section;
}

HICON PictureIcon(const desktop::VectorPicture& picture, int size) {
  HBITMAP colour = PictureBitmap(picture, size / picture.width);
  if (colour == nullptr) return nullptr;
  // With a 32-bit colour picture the mask is not used, but an icon needs one.
  HBITMAP mask = ::CreateBitmap(size, size, 1, 1, nullptr);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(mask);
  ::DeleteObject(colour);
  return icon;
}

}  // namespace rsf::win32
