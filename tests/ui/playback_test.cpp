// Playing a clip from the window with the real picture window and decoders: a picture shows at
// its size, a new playback hides it, a corrupt JPEG goes on to the player. (The order of the
// attempts, the copies and the failures are the desktop core's, tested there.)
#include <QAction>
#include <QLabel>
#include <QTest>
#include <cerrno>
#include <filesystem>

#include "synth/bitmap_synth.h"
#include "synth/jpeg_synth.h"
#include "synth/riff_synth.h"
#include "ui/widgets/check_list_box.h"
#include "ui/windows/frmImageView.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class PlaybackTest : public WindowTest {
 protected:
  void SetUp() override {
    Start();
    Form().Presenter().Playing().SetCopyNumbers([this] { return numbers_.at(drawn_++); });
  }

  // Scans `source` and keeps it for comparing copies.
  void Scan(const SourceBuilder& source) {
    source_ = source;
    source_path_ = WriteSource("source.bin", source);
    ScanFile(source_path_);
    ASSERT_EQ(Form().Engine().Catalogue().size(), source.Clips().size());
  }
  // Selects `entry` with the mouse and double-clicks it, as a user starts playback.
  void PlayEntry(int entry) {
    ClickEntry(entry);
    CheckListBox* list = Form().rzFoundClips;
    const QRect place = list->visualItemRect(list->item(entry));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(place.right() - 10, place.center().y()));
  }
  std::string CopyName(int number, const std::string& extension) const {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", number);
    return folder_->folder + "RSFtmp" + digits + extension;
  }
  std::vector<std::uint8_t> ClipBytes(int entry) const {
    const auto& clip = source_.Clips().at(static_cast<std::size_t>(entry));
    return {source_.Bytes().begin() + clip.start, source_.Bytes().begin() + clip.end};
  }
  std::size_t CopiesOnDisk() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_->folder),
                                                  std::filesystem::directory_iterator()));
  }
  bool PlayerOpened() const {
    return std::any_of(player_->calls.begin(), player_->calls.end(), [](const std::string& call) { return call != "close"; });
  }
  TfrmImage& Picture() { return program_->frmImage(); }

  std::vector<int> numbers_ = {0x0A3F, 0xFFFE, 0x0001, 0x1234};
  std::size_t drawn_ = 0;
  SourceBuilder source_;
  std::string source_path_;
};

class PictureAttempt : public PlaybackTest {};

TEST_F(PictureAttempt, BitmapAndJpegClipsShowAtTheirSizeWithoutTouchingThePlayer) {
  Scan(SourceBuilder().Filler(300).Add(synth::BitmapFile(37, 23, 24)).Filler(300).Add(synth::JfifImage(61, 45, 3)).Filler(300));
  struct Expected {
    int entry;
    QSize size;
    std::string name;
  };
  for (const Expected& expected : {Expected{0, QSize(37, 23), CopyName(0x0A3F, ".bmp")},
                                   Expected{1, QSize(61, 45), CopyName(0xFFFE, ".jpg")}}) {
    SCOPED_TRACE(expected.name);
    PlayEntry(expected.entry);
    EXPECT_TRUE(Picture().isVisible());
    ASSERT_FALSE(Picture().Image1->pixmap().isNull());
    EXPECT_EQ(Picture().Image1->pixmap().size(), expected.size);
    EXPECT_EQ(Picture().Image1->size(), expected.size);
    EXPECT_EQ(Picture().size(), expected.size);
    EXPECT_EQ(Panel(1), QStringLiteral("正在查看图像..."));
    EXPECT_EQ(rsf::test::ReadWholeFile(expected.name), ClipBytes(expected.entry));
    EXPECT_EQ(Form().TemporaryFiles().back(), expected.name);
  }
  EXPECT_EQ(Form().TemporaryFiles().size(), 2u);
  EXPECT_FALSE(PlayerOpened());
  Picture().close();
  EXPECT_EQ(Panel(1), QStringLiteral("空闲")) << "closing the picture ends the viewing";
  EXPECT_TRUE(shell_->documents.empty());
  EXPECT_TRUE(boxes_->shown.empty());
}

// Within one scan window WAVE clips are listed before JPEG clips; the sound lies in a later
// window here, so that list and source order agree.
TEST_F(PictureAttempt, ANewPlaybackClosesThePictureWindowFirst) {
  Scan(SourceBuilder().Filler(300).Add(synth::JfifImage(40, 30, 1)).Filler(70000).Wave(3000).Filler(300));
  PlayEntry(0);
  ASSERT_TRUE(Picture().isVisible());
  PlayEntry(1);
  EXPECT_FALSE(Picture().isVisible());
  EXPECT_EQ(player_->calls.back(), "play");
}

TEST_F(PictureAttempt, CorruptJpegIsNoPictureAndGoesToTheMediaPlayer) {
  Scan(SourceBuilder().Filler(300).Jpeg(2000).Filler(300));
  PlayEntry(0);
  const std::string name = CopyName(0x0A3F, ".jpg");
  EXPECT_FALSE(Picture().isVisible());
  EXPECT_EQ(player_->calls, (std::vector<std::string>{"close", "open " + name, "play"}));
  EXPECT_EQ(Panel(1), QStringLiteral("内部播放器..."));
  EXPECT_TRUE(shell_->documents.empty());
}

}  // namespace
}  // namespace rsf::ui::test
