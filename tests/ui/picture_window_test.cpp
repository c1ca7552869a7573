// The picture window TfrmImage (stays on top, fixed size, only a close button, centred over
// the main window, fitted to its picture at every paint) and the picture loader behind it:
// bitmaps through Qt, JPEG through libjpeg-turbo, everything else no picture.
#include <QLabel>
#include <algorithm>
#include <iterator>
#include <sys/resource.h>
#include <QTest>

#include "synth/bitmap_synth.h"
#include "synth/jpeg_synth.h"
#include "synth/picture_synth.h"
#include "ui/windows/frmImageView.h"
#include "ui/services/jpeg_decoder.h"
#include "ui/services/picture_loader.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class PictureWindow : public WindowTest {
 protected:
  void SetUp() override { Start(); }
  TfrmImage& Picture() { return program_->frmImage(); }
};

TEST_F(PictureWindow, IsMadeHiddenOnTopWithOnlyACloseButtonAndOwnedByTheMainWindow) {
  EXPECT_FALSE(Picture().isVisible());
  EXPECT_EQ(Picture().parentWidget(), &Form());
  EXPECT_TRUE(Picture().isWindow());
  const Qt::WindowFlags flags = Picture().windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(Picture().size(), QSize(105, 105));
  EXPECT_EQ(Picture().Image1->geometry(), QRect(0, 0, 105, 105));
}

TEST_F(PictureWindow, ShowsAPictureCentredOverTheMainWindowAtAFixedSize) {
  QImage picture(120, 80, QImage::Format_RGB888);
  picture.fill(Qt::darkCyan);
  Picture().ShowPicture(picture);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Picture()));
  EXPECT_EQ(Picture().size(), QSize(120, 80));
  EXPECT_EQ(Picture().minimumSize(), Picture().maximumSize()) << "not resizable";
  const QPoint offset = Picture().frameGeometry().center() - Form().frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 2);

  // Every repaint fits the window to Image1 again.
  Picture().Image1->resize(50, 40);
  Picture().repaint();
  EXPECT_EQ(Picture().size(), QSize(50, 40));

  Picture().ClearPicture();
  EXPECT_TRUE(Picture().Image1->pixmap().isNull());
}

class PictureFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) { return dir_.Write(name, bytes); }
  rsf::test::TempDir dir_;
};

TEST_F(PictureFiles, PicturesAreChosenByTheirExtensionInAnyCase) {
  const std::vector<std::uint8_t> bitmap = synth::BitmapFile(33, -17, 8);
  const std::vector<std::uint8_t> jpeg = synth::JfifImage(48, 20, 9);
  const struct {
    std::vector<const char*> names;
    std::vector<std::uint8_t> bytes;
    QSize size;
  } kinds[] = {{{"clip.bmp", "CLIP.BMP"}, bitmap, {33, 17}},
               {{"clip.jpg", "clip.JPEG"}, jpeg, {48, 20}},
               {{"clip.gif", "CLIP.GIF"}, synth::GifFile(21, 9, 3), {21, 9}},  // an animation shows its first frame
               {{"clip.png"}, synth::PngFile(30, 12), {30, 12}}};
  for (const auto& kind : kinds) {
    for (const char* name : kind.names) {
      const std::optional<QImage> picture = LoadPicture(Write(name, kind.bytes));
      ASSERT_TRUE(picture) << name;
      EXPECT_EQ(picture->size(), kind.size) << name;
    }
  }
  // The extension decides, not the contents.
  EXPECT_FALSE(LoadPicture(Write("clip.avi", jpeg)));
  EXPECT_FALSE(LoadPicture(Write("clip.bmp", jpeg)));
  EXPECT_FALSE(LoadPicture(Write("clip.jpg", bitmap)));
  EXPECT_FALSE(LoadPicture(Write("folder.jpg", {})));
  EXPECT_FALSE(LoadPicture(Write("noextension", jpeg)));
  EXPECT_FALSE(LoadPicture(dir_.File("missing.jpg")));
}

TEST_F(PictureFiles, JpegDecodingKeepsTheColoursAndSurvivesDamage) {
  const std::vector<std::uint8_t> jpeg = synth::JfifImage(64, 32, 4, 95);
  const std::optional<QImage> picture = DecodeJpeg(jpeg);
  ASSERT_TRUE(picture);
  // The same picture through Qt's own reader (when it has one) agrees within coding noise.
  const QImage reference = QImage::fromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPG").convertToFormat(QImage::Format_RGB888);
  if (!reference.isNull()) {
    ASSERT_EQ(reference.size(), picture->size());
    for (const QPoint at : {QPoint(0, 0), QPoint(63, 31), QPoint(20, 10)})
      EXPECT_LE(std::abs(qRed(reference.pixel(at)) - qRed(picture->pixel(at))) +
                    std::abs(qGreen(reference.pixel(at)) - qGreen(picture->pixel(at))),
                8);
  }

  // Cut short after the header: libjpeg fills the rest and the picture still shows.
  const std::vector<std::uint8_t> truncated(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() * 2 / 3));
  const std::optional<QImage> partial = DecodeJpeg(truncated);
  ASSERT_TRUE(partial);
  EXPECT_EQ(partial->size(), QSize(64, 32));

  // No frame header at all, or only the start of one: no picture.
  EXPECT_FALSE(DecodeJpeg({0xFF, 0xD8, 0xFF, 0xD9}));
  EXPECT_FALSE(DecodeJpeg(std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 30)));
  EXPECT_FALSE(DecodeJpeg({}));
  std::vector<std::uint8_t> noise(5000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 7919 % 251);
  EXPECT_FALSE(DecodeJpeg(noise));
}

// A header may declare 30,000 x 30,000 pixels in a file of a few hundred bytes: refused from the
// header, before anything is decoded or allocated (the peak memory of the test program does
// not grow by the gigabytes such a picture would take).
TEST_F(PictureFiles, PicturesDeclaredHugeAreRefusedBeforeDecoding) {
  std::vector<std::uint8_t> jpeg = synth::JfifImage(48, 20, 9);
  std::vector<std::uint8_t> bitmap = synth::BitmapFile(33, 17, 24);
  const std::uint8_t frame_marker[] = {0xFF, 0xC0};
  const auto sof = std::search(jpeg.begin(), jpeg.end(), std::begin(frame_marker), std::end(frame_marker));
  ASSERT_NE(sof, jpeg.end());
  for (std::ptrdiff_t field : {5, 7}) {  // height, width: big-endian 16 bits
    sof[field] = 30000 >> 8;
    sof[field + 1] = 30000 & 0xFF;
  }
  for (std::size_t field : {18u, 22u})  // width, height: little-endian 32 bits
    for (int byte = 0; byte < 4; ++byte) bitmap[field + static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(30000 >> (8 * byte));

  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  EXPECT_FALSE(DecodeJpeg(jpeg));
  EXPECT_FALSE(LoadPicture(Write("huge.jpg", jpeg)));
  EXPECT_FALSE(LoadPicture(Write("huge.bmp", bitmap)));
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 200 * 1024) << "kilobytes more at the peak";

  // Just below the limit is still a picture (8192 x 8192, 64 megapixels, declared only: the
  // missing data decodes grey).
  for (std::ptrdiff_t field : {5, 7}) {
    sof[field] = 8192 >> 8;
    sof[field + 1] = 8192 & 0xFF;
  }
  const std::optional<QImage> largest = DecodeJpeg(jpeg);
  ASSERT_TRUE(largest);
  EXPECT_EQ(largest->size(), QSize(8192, 8192));
}

}  // namespace
}  // namespace rsf::ui::test
