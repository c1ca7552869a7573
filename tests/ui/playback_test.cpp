// Playing a clip from the window: the copy in the temporary folder, then the picture window,
// the media player or the shell in their order; the room check, two playbacks in a row, a
// failing copy, and nothing selected.
#include <QAction>
#include <QLabel>
#include <QTest>
#include <cerrno>
#include <filesystem>

#include "synth/bitmap_synth.h"
#include "synth/jpeg_synth.h"
#include "synth/riff_synth.h"
#include "ui/widgets/check_list_box.h"
#include "ui/services/errorcode.h"
#include "ui/windows/frmImageView.h"
#include "ui/features/playback.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class PlaybackTest : public WindowTest {
 protected:
  void SetUp() override {
    Start();
    program_->Playing().SetCopyNumbers([this] { return numbers_.at(drawn_++); });
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

class MediaPlayerAttempt : public PlaybackTest {};

TEST_F(MediaPlayerAttempt, WaveClipIsOpenedAndPlayedInAWindowTitledWithTheClip) {
  Scan(SourceBuilder().Filler(500).Wave(6000).Filler(500));
  ClickEntry(0);
  Form().Play->trigger();
  const std::string name = CopyName(0x0A3F, ".wav");
  EXPECT_EQ(player_->calls, (std::vector<std::string>{"close", "open " + name, "play"}));
  EXPECT_EQ(rsf::test::ReadWholeFile(name), ClipBytes(0));
  EXPECT_EQ(player_->titles, std::vector<std::string>{"文件 #1  WAV 音频"});
  EXPECT_EQ(Panel(1), QStringLiteral("内部播放器..."));
  EXPECT_FALSE(Picture().isVisible());
  EXPECT_TRUE(shell_->documents.empty());
  EXPECT_TRUE(boxes_->shown.empty());
  ASSERT_TRUE(player_->window_closed);
  player_->window_closed();  // the user closes the player's window
  EXPECT_EQ(Panel(1), QStringLiteral("空闲"));
}

TEST_F(MediaPlayerAttempt, RefusalFallsThroughToTheShell) {
  Scan(SourceBuilder().Filler(500).Wave(6000).Filler(500));
  player_->refusal = "no device for this file";
  PlayEntry(0);
  const std::string name = CopyName(0x0A3F, ".wav");
  EXPECT_EQ(player_->calls, (std::vector<std::string>{"close", "open " + name}));
  EXPECT_EQ(shell_->documents, std::vector<std::string>{name});
  EXPECT_EQ(Panel(1), QStringLiteral("空闲")) << "the desktop answered at once";
  EXPECT_TRUE(boxes_->shown.empty());
}

class ShellAttempt : public PlaybackTest {};

TEST_F(ShellAttempt, UntickedOptionSendsEveryClipStraightToTheShell) {
  Scan(SourceBuilder().Filler(300).Add(synth::JfifImage(40, 30, 1)).Filler(70000).Wave(3000).Filler(300));
  Form().Tryinternalplaybackfirst->trigger();
  ASSERT_FALSE(Form().Tryinternalplaybackfirst->isChecked());
  PlayEntry(0);
  PlayEntry(1);
  EXPECT_EQ(shell_->documents, (std::vector<std::string>{CopyName(0x0A3F, ".jpg"), CopyName(0xFFFE, ".wav")}));
  EXPECT_FALSE(Picture().isVisible());
  EXPECT_FALSE(PlayerOpened());
  EXPECT_EQ(Panel(1), QStringLiteral("空闲")) << "once the desktop has answered";

  Form().Tryinternalplaybackfirst->trigger();
  PlayEntry(0);
  EXPECT_TRUE(Picture().isVisible()) << "the option is read at every playback";
}

TEST_F(ShellAttempt, FailureWarnsWithTheSystemsErrorTextOrTheOpenersReason) {
  Scan(SourceBuilder().Filler(500).Wave(6000).Filler(500));
  Form().Tryinternalplaybackfirst->trigger();
  shell_->document_error = ENOENT;
  PlayEntry(0);
  shell_->document_error = 0x7FFFFFF0u;  // no system message for this one
  PlayEntry(0);
  shell_->document_error = EOPNOTSUPP;
  shell_->document_reason = "没有与这类文件关联的程序";
  PlayEntry(0);

  ASSERT_EQ(boxes_->shown.size(), 3u);
  const QString first = QStringLiteral("当尝试运行外部播放器来播放这个剪辑时发生下列错误:     \n\n");
  const QString last = QStringLiteral("\n请提取文件并尝试使用适当的播放器打开。");
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes_->shown[0].caption, QStringLiteral("警告"));
  EXPECT_EQ(boxes_->shown[0].text, first + QString::fromStdString(ErrorText(ENOENT)) + last);
  EXPECT_NE(ErrorText(ENOENT), "未知错误");
  EXPECT_EQ(boxes_->shown[1].text, first + QStringLiteral("未知错误") + last);
  EXPECT_EQ(boxes_->shown[2].text, first + QStringLiteral("没有与这类文件关联的程序") + last);
}

class TemporaryCopy : public PlaybackTest {};

TEST_F(TemporaryCopy, ClipExactlyAsLargeAsTheFreeSpaceIsRefusedAndNothingIsWritten) {
  Scan(SourceBuilder().Filler(500).Wave(6000).Filler(500));
  const std::int64_t size = source_.Clips()[0].end - source_.Clips()[0].start;
  folder_->free_bytes = size;
  PlayEntry(0);
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kError);
  EXPECT_EQ(boxes_->shown[0].caption, QStringLiteral("错误"));
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("临时目录无足够的磁盘空间提取剪辑。异常终止..."));
  EXPECT_TRUE(Form().TemporaryFiles().empty());
  EXPECT_EQ(CopiesOnDisk(), 0u);
  EXPECT_EQ(player_->calls, std::vector<std::string>{"close"}) << "the previous device is closed before the check";

  folder_->free_bytes = size + 1;
  PlayEntry(0);
  EXPECT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(Form().TemporaryFiles(), std::vector<std::string>{CopyName(0x0A3F, ".wav")}) << "a refused copy draws no name";
  EXPECT_EQ(CopiesOnDisk(), 1u);
}

TEST_F(TemporaryCopy, TwoPlaybacksKeepTwoCopiesAndTheFirstDeviceClosesBeforeTheSecondCopy) {
  Scan(SourceBuilder().Filler(500).Wave(6000).Filler(500).Wave(2000).Filler(500));
  std::vector<std::string> at_close;
  player_->on_close = [&] {
    at_close.push_back(std::to_string(Form().TemporaryFiles().size()) + " listed, " + std::to_string(CopiesOnDisk()) +
                       " on disk");
  };
  PlayEntry(0);
  PlayEntry(1);
  const std::string first = CopyName(0x0A3F, ".wav");
  const std::string second = CopyName(0xFFFE, ".wav");
  EXPECT_EQ(Form().TemporaryFiles(), (std::vector<std::string>{first, second}));
  EXPECT_EQ(rsf::test::ReadWholeFile(first), ClipBytes(0));
  EXPECT_EQ(rsf::test::ReadWholeFile(second), ClipBytes(1));
  EXPECT_EQ(at_close, (std::vector<std::string>{"0 listed, 0 on disk", "1 listed, 1 on disk"}));
  EXPECT_EQ(player_->calls, (std::vector<std::string>{"close", "open " + first, "play", "close", "open " + second, "play"}));

  // Closing the window: the device first, then both copies.
  deleter_->remove_files = true;
  deleter_->on_attempt = [&](const std::string& path) { at_close.push_back("delete " + path); };
  Form().close();
  EXPECT_EQ(std::vector<std::string>(at_close.begin() + 2, at_close.end()),
            (std::vector<std::string>{"2 listed, 2 on disk", "delete " + first, "delete " + second}));
  EXPECT_EQ(CopiesOnDisk(), 0u);
}

// A link planted under the name drawn for a copy is never written through: the next name is
// drawn, and the file the link points to keeps its bytes.
TEST_F(TemporaryCopy, ANameTakenByAPlantedLinkIsPassedOver) {
  Scan(SourceBuilder().Filler(500).Wave(6000).Filler(500));
  const std::string victim = temp_.Write("victim.txt", {'m', 'i', 'n', 'e'});
  std::filesystem::create_symlink(victim, CopyName(0x0A3F, ".wav"));
  PlayEntry(0);
  EXPECT_EQ(rsf::test::ReadWholeFile(victim), (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
  EXPECT_TRUE(std::filesystem::is_symlink(CopyName(0x0A3F, ".wav")));
  EXPECT_EQ(Form().TemporaryFiles(), std::vector<std::string>{CopyName(0xFFFE, ".wav")});
  EXPECT_EQ(rsf::test::ReadWholeFile(CopyName(0xFFFE, ".wav")), ClipBytes(0));
  EXPECT_EQ(player_->calls.back(), "play");
}

TEST_F(TemporaryCopy, ReadFailureShowsTheErrorAndRemovesTheCopyAtOnce) {
  Scan(SourceBuilder().Filler(500).Wave(200000).Filler(500));
  std::filesystem::resize_file(source_path_, 100000);  // the clip's end is gone
  PlayEntry(0);
  const std::string name = CopyName(0x0A3F, ".wav");
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kStop);
  EXPECT_EQ(boxes_->shown[0].caption, Form().ApplicationTitle());
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("数据流读取错误."));
  EXPECT_EQ(Form().TemporaryFiles(), std::vector<std::string>{name});
  EXPECT_FALSE(std::filesystem::exists(name)) << "no partial copy is left behind";
  EXPECT_EQ(Panel(1), QStringLiteral("正在提取剪辑..."));
  EXPECT_FALSE(PlayerOpened());
  EXPECT_TRUE(shell_->documents.empty());

  deleter_->remove_files = true;
  Form().close();
  EXPECT_EQ(deleter_->attempts, std::vector<std::string>{name});
  EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(TemporaryCopy, NothingSelectedWarnsAndTouchesNothing) {
  Scan(SourceBuilder().Filler(500).Wave(6000).Filler(500));
  ASSERT_EQ(Form().rzFoundClips->SelectedEntry(), -1);
  Form().Play->trigger();
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes_->shown[0].caption, QStringLiteral("警告"));
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("你没有选择任何剪辑 !"));
  EXPECT_TRUE(player_->calls.empty());
  EXPECT_EQ(folder_->free_queries, 0);
  EXPECT_TRUE(Form().TemporaryFiles().empty());
  EXPECT_EQ(CopiesOnDisk(), 0u);
}

TEST_F(TemporaryCopy, ListedClipsWithoutAnOpenSourceFailAsAReadError) {
  Scan(SourceBuilder().Filler(500).Wave(6000).Filler(500));
  std::filesystem::remove(source_path_);
  Form().StartAnalysis->trigger();  // cannot open: the old source is closed, the list stays
  ASSERT_EQ(Form().Engine().Source(), nullptr);
  ASSERT_EQ(Form().rzFoundClips->count(), 1);
  boxes_->shown.clear();
  PlayEntry(0);
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("数据流读取错误."));
  EXPECT_EQ(CopiesOnDisk(), 0u);
}

}  // namespace
}  // namespace rsf::ui::test
