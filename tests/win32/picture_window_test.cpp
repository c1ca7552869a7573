// The picture window under Wine's null graphics driver: WIC decodes bitmaps, GIF, PNG and JPEG
// chosen by their extension, the window fits itself to the picture within the work area, the
// core's picture limits hold before decoding, and hiding, closing and the owner's end do what
// the presenter expects of them.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include "desktop/picture_limits.h"
#include "support/scan_harness.h"
#include "synth/bitmap_synth.h"
#include "synth/picture_synth.h"
#include "win32/picture_window.h"
#include "win32/wic_picture.h"

namespace rsf::win32 {
namespace {

// A baseline JPEG of one grey component, every block the level shift's grey (128): a DC table
// and an AC table of one code each ("0": DC difference 0, end of block), so every 8 x 8 block is
// the two bits 00.
std::vector<std::uint8_t> GreyJpeg(std::uint16_t width, std::uint16_t height) {
  std::vector<std::uint8_t> out = {0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0x00};
  out.insert(out.end(), 64, 1);  // quantisation table 0
  const auto high = [](std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); };
  const auto low = [](std::uint16_t value) { return static_cast<std::uint8_t>(value); };
  const std::uint8_t frame[] = {0xFF, 0xC0, 0, 11, 8, high(height), low(height), high(width), low(width), 1, 1, 0x11, 0};
  out.insert(out.end(), std::begin(frame), std::end(frame));
  for (const std::uint8_t table : {0x00, 0x10}) {  // DC table 0, AC table 0
    const std::uint8_t huffman[] = {0xFF, 0xC4, 0, 20, table, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00};
    out.insert(out.end(), std::begin(huffman), std::end(huffman));
  }
  const std::uint8_t scan[] = {0xFF, 0xDA, 0, 8, 1, 1, 0x00, 0, 63, 0};
  out.insert(out.end(), std::begin(scan), std::end(scan));
  const std::size_t blocks = static_cast<std::size_t>((width + 7) / 8) * ((height + 7) / 8);
  std::vector<std::uint8_t> data((blocks * 2 + 7) / 8, 0x00);
  if (blocks % 4 != 0) data.back() = static_cast<std::uint8_t>(0xFF >> (blocks % 4 * 2));  // padded with ones
  out.insert(out.end(), data.begin(), data.end());
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

std::size_t PeakMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

class PictureWindowTest : public ::testing::Test {
 protected:
  PictureWindowTest() {
    owner_ = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr, nullptr,
                               nullptr, nullptr);
    pictures_.SetOwner(owner_);
    pictures_.SetPictureClosedHandler([this] { ++closes_; });
  }
  ~PictureWindowTest() override { ::DestroyWindow(owner_); }

  bool Show(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    return pictures_.ShowPictureFile(dir_.Write(name, bytes));
  }
  SIZE Client() const {
    RECT client{};
    ::GetClientRect(pictures_.Handle(), &client);
    return {client.right, client.bottom};
  }

  rsf::test::TempDir dir_;
  HWND owner_ = nullptr;
  PictureWindow pictures_;
  int closes_ = 0;
};

TEST_F(PictureWindowTest, ShowsEachFormatChosenByItsExtensionAtItsOwnSize) {
  const std::vector<std::uint8_t> jpeg = GreyJpeg(48, 20);
  const struct {
    std::vector<const char*> names;
    std::vector<std::uint8_t> bytes;
    SIZE size;
  } kinds[] = {{{"clip.bmp", "CLIP.BMP"}, synth::BitmapFile(33, -17, 8), {33, 17}},
               {{"clip.jpg", "clip.JPEG"}, jpeg, {48, 20}},
               {{"clip.gif"}, synth::GifFile(21, 9, 3), {21, 9}},  // an animation shows its first frame
               {{"clip.png"}, synth::PngFile(30, 12), {30, 12}}};
  for (const auto& kind : kinds) {
    for (const char* name : kind.names) {
      ASSERT_TRUE(Show(name, kind.bytes)) << name;
      EXPECT_EQ(pictures_.PictureSize().cx, kind.size.cx) << name;
      EXPECT_EQ(pictures_.PictureSize().cy, kind.size.cy) << name;
      EXPECT_EQ(pictures_.ShownSize().cx, kind.size.cx) << name;
      EXPECT_EQ(Client().cy, kind.size.cy) << name;
      EXPECT_GE(Client().cx, kind.size.cx) << name << ": a caption's least width, or the picture's";
      EXPECT_TRUE(::IsWindowVisible(pictures_.Handle())) << name;
      EXPECT_EQ(::GetWindow(pictures_.Handle(), GW_OWNER), owner_);
    }
  }
  const std::optional<DecodedPicture> grey = DecodePictureFile(dir_.Write("grey.jpg", jpeg), RGB(255, 255, 255));
  ASSERT_TRUE(grey);
  for (std::size_t channel = 0; channel < 3; ++channel) EXPECT_NEAR(grey->pixels[channel], 128, 2);

  // The extension decides, not the contents; damaged files and missing ones are no pictures.
  std::vector<std::uint8_t> noise(5000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 7919 % 251);
  const std::vector<std::uint8_t> png = synth::PngFile(30, 12);
  const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> refused = {
      {"clip.avi", jpeg},
      {"clip.bmp", jpeg},
      {"clip.gif", noise},
      {"cut.png", std::vector<std::uint8_t>(png.begin(), png.begin() + 40)},  // the header and no pixels
      {"cut.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 30)},
      {"empty.bmp", {}}};
  for (const auto& [name, bytes] : refused) {
    EXPECT_FALSE(Show(name, bytes)) << name;
    EXPECT_EQ(pictures_.PictureSize().cx, 0) << name;
  }
  EXPECT_FALSE(pictures_.ShowPictureFile(dir_.File("missing.png")));
}

// A picture of 8193 x 8192 pixels, one bit each (8 MiB of file), would decode; it is refused
// from the size the decoder read, and the gigabyte's quarter its pixels take is never taken.
TEST_F(PictureWindowTest, PicturesOverTheLimitAreRefusedBeforeDecoding) {
  static_assert(desktop::PictureSizeAllowed(8192, 8192) && !desktop::PictureSizeAllowed(8193, 8192));
  const std::string over = dir_.Write("over.bmp", synth::BitmapFile(8193, 8192, 1));
  const std::size_t before = PeakMemory();
  EXPECT_FALSE(pictures_.ShowPictureFile(over));
  EXPECT_LT(PeakMemory() - before, 64u << 20) << "bytes more at the peak";
  EXPECT_EQ(pictures_.Handle(), nullptr) << "no window for it";

  // Larger than the work area: scaled down to it, in proportion.
  ASSERT_TRUE(Show("wide.bmp", synth::BitmapFile(6000, 1000, 1)));
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LT(Client().cx, work.right - work.left);
  EXPECT_EQ(Client().cx, pictures_.ShownSize().cx);
  EXPECT_EQ(Client().cy, pictures_.ShownSize().cy);
  EXPECT_NEAR(static_cast<double>(Client().cx) / Client().cy, 6.0, 0.1);
}

// Hiding is playback's own doing and stays quiet; the close box and ClosePicture report, as the
// Qt window's close does. The owner's end takes the window with it.
TEST_F(PictureWindowTest, HidingStaysQuietClosingReportsAndTheOwnerTakesTheWindow) {
  const std::vector<std::uint8_t> bitmap = synth::BitmapFile(20, 10, 24);
  ASSERT_TRUE(Show("a.bmp", bitmap));
  pictures_.HidePicture();
  EXPECT_FALSE(::IsWindowVisible(pictures_.Handle()));
  EXPECT_EQ(closes_, 0);
  ASSERT_TRUE(Show("a.bmp", bitmap));
  ::SendMessageW(pictures_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindowVisible(pictures_.Handle()));
  EXPECT_EQ(closes_, 1);
  ASSERT_TRUE(Show("a.bmp", bitmap));
  pictures_.ClosePicture();
  EXPECT_EQ(closes_, 2);

  ASSERT_TRUE(Show("a.bmp", bitmap));
  ::DestroyWindow(owner_);
  owner_ = nullptr;
  EXPECT_EQ(pictures_.Handle(), nullptr);
  pictures_.SetOwner(nullptr);
  EXPECT_TRUE(Show("a.bmp", bitmap)) << "a new window without an owner";
}

}  // namespace
}  // namespace rsf::win32
