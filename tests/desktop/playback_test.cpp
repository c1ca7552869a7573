// Playing a clip: the copy in the temporary folder, then the picture window, the media player
// or the shell in their order; the room check, two playbacks in a row, a planted link, a
// failing copy, nothing selected, and what the closing of each window does to the status.
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/errors.h"
#include "desktop/product.h"
#include "desktop/window_texts.h"
#include "desktop_doubles.h"
#include "platform/error_text.h"
#include "synth/bitmap_synth.h"
#include "synth/riff_synth.h"

namespace rsf::desktop::test {
namespace {

class Playing : public PresenterTest {
 protected:
  Playing() {
    presenter.Playing().SetCopyNumbers([this] { return numbers_.at(drawn_++); });
  }
  // Scans `clips` laid out with filler between them, a scan window apart so that the list
  // keeps their order, and keeps the source for comparing copies.
  void ScanClips(const std::vector<std::vector<std::uint8_t>>& clips) {
    source_.assign(500, 0);
    for (const auto& clip : clips) {
      source_.insert(source_.end(), clip.begin(), clip.end());
      source_.resize(source_.size() + 70000, 0);
    }
    Scan(source_);
    ASSERT_EQ(presenter.Engine().Catalogue().size(), clips.size());
  }
  void Play(int entry) {
    view.selected = entry;
    presenter.Command([this] { presenter.Play(); });
  }
  std::string CopyName(int number, const std::string& extension) const {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", number);
    return folder.folder + "RSFtmp" + digits + extension;
  }
  std::vector<std::uint8_t> ClipBytes(int entry) const {
    const TFilestruct& clip = presenter.Engine().Catalogue().at(static_cast<std::size_t>(entry));
    return {source_.begin() + clip.StartOffset, source_.begin() + clip.EndOffset};
  }
  std::size_t CopiesOnDisk() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder.folder),
                                                  std::filesystem::directory_iterator()));
  }
  const std::string& Activity() const { return view.status[kStatusPanelActivity]; }
  std::vector<std::string>& Copies() { return presenter.Playing().Copies(); }

  static std::vector<std::uint8_t> Bitmap() { return synth::BitmapFile(37, 23, 24); }
  static std::vector<std::uint8_t> Sound(std::uint32_t frames = 3000) { return synth::PcmWave(22050, 1, 16, frames); }

  std::vector<int> numbers_ = {0x0A3F, 0xFFFE, 0x0001, 0x1234};
  std::size_t drawn_ = 0;
  std::vector<std::uint8_t> source_;
};

// Where each kind of clip goes, by the option "首先尝试内部回放" and what the picture window and
// the player accept.
struct Route {
  const char* name;
  bool internal_first;
  bool picture;  // a bitmap (else a sound)
  bool player_refuses;
  const char* shown_in;  // "picture", "player" or "shell"
  const char* activity;
};

class PlaybackRoute : public Playing, public ::testing::WithParamInterface<Route> {};

TEST_P(PlaybackRoute, CopiesTheClipAndShowsItWhereItBelongs) {
  const Route& route = GetParam();
  presenter.Options().internal_playback_first = route.internal_first;
  player.refusal = route.player_refuses ? std::optional<std::string>("no device for this file") : std::nullopt;
  ScanClips({route.picture ? Bitmap() : Sound()});
  Play(0);
  const std::string name = CopyName(0x0A3F, route.picture ? ".bmp" : ".wav");
  EXPECT_EQ(rsf::test::ReadWholeFile(name), ClipBytes(0));
  EXPECT_EQ(Copies(), std::vector<std::string>{name});
  const std::string shown_in = route.shown_in;
  EXPECT_EQ(pictures.showing, shown_in == "picture");
  EXPECT_EQ(player.calls.back() == "play", shown_in == "player");
  EXPECT_EQ(shell.documents, shown_in == "shell" ? std::vector<std::string>{name} : std::vector<std::string>{});
  EXPECT_EQ(Activity(), route.activity);
  EXPECT_EQ(pictures.calls.front(), "hide") << "what the last playback showed goes first";
  EXPECT_EQ(player.calls.front(), "close");
  EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Routes, PlaybackRoute,
    ::testing::Values(Route{"PictureInItsWindow", true, true, false, "picture", kStatusViewingPicture},
                      Route{"SoundInThePlayer", true, false, false, "player", kStatusInternalPlayer},
                      Route{"RefusedSoundToTheShell", true, false, true, "shell", kStatusIdle},
                      Route{"PictureStraightToTheShell", false, true, false, "shell", kStatusIdle},
                      Route{"SoundStraightToTheShell", false, false, false, "shell", kStatusIdle}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Playing, ThePlayersWindowIsTitledWithTheClipAndClosingAWindowEndsWhatItShowed) {
  ScanClips({Bitmap(), Sound()});
  Play(1);
  EXPECT_EQ(player.calls, (std::vector<std::string>{"close", "open " + CopyName(0x0A3F, ".wav"), "play"}));
  EXPECT_EQ(player.titles, std::vector<std::string>{"文件 #2  WAV 音频"});
  ASSERT_TRUE(player.window_closed);
  player.window_closed();
  EXPECT_EQ(Activity(), kStatusIdle);

  Play(0);
  EXPECT_EQ(Activity(), kStatusViewingPicture);
  player.window_closed();  // a late close of the player's window leaves the picture's status
  EXPECT_EQ(Activity(), kStatusViewingPicture);
  ASSERT_TRUE(pictures.window_closed);
  pictures.window_closed();
  EXPECT_EQ(Activity(), kStatusIdle);
}

TEST_F(Playing, ShellFailureWarnsWithTheSystemsTextOrTheOpenersReason) {
  presenter.Options().internal_playback_first = false;
  ScanClips({Sound()});
  const std::string system_text = platform::SystemErrorMessage(ENOENT).value_or("");
  ASSERT_FALSE(system_text.empty());
  const struct {
    std::uint32_t error;
    const char* reason;
    std::string shown;
  } rows[] = {
      {ENOENT, "", system_text},
      {0x7FFFFFF0u, "", "未知错误"},  // no system message for this one
      {EOPNOTSUPP, "没有与这类文件关联的程序", "没有与这类文件关联的程序"},
  };
  for (const auto& row : rows) {
    boxes.shown.clear();
    shell.document_error = row.error;
    shell.document_reason = row.reason;
    Play(0);
    ASSERT_EQ(boxes.shown.size(), 1u) << row.shown;
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::kWarning);
    EXPECT_EQ(boxes.shown[0].caption, "警告");
    EXPECT_EQ(boxes.shown[0].text, "当尝试运行外部播放器来播放这个剪辑时发生下列错误:     \n\r\n\r" + row.shown +
                                       "\n\r请提取文件并尝试使用适当的播放器打开。");
  }
}

// The desktop answers after the window began to close, or after the presenter is gone: the
// answer is dropped.
TEST_F(Playing, LateShellAnswersAreDropped) {
  presenter.Options().internal_playback_first = false;
  ScanClips({Sound()});
  shell.hold = true;
  shell.document_error = ENOENT;
  Play(0);
  Play(0);
  ASSERT_EQ(shell.held.size(), 2u);
  EXPECT_EQ(Activity(), kStatusExternalPlayer) << "until the desktop has answered";
  view.closing = true;
  shell.held[0]();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(Activity(), kStatusExternalPlayer);
}

TEST_F(Playing, ClipExactlyAsLargeAsTheFreeSpaceIsRefusedAndNothingIsWritten) {
  ScanClips({Sound()});
  const TFilestruct& clip = presenter.Engine().Catalogue()[0];
  folder.free_bytes = clip.EndOffset - clip.StartOffset;
  Play(0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].icon, BoxIcon::kError);
  EXPECT_EQ(boxes.shown[0].caption, "错误");
  EXPECT_EQ(boxes.shown[0].text, "临时目录无足够的磁盘空间提取剪辑。异常终止...");
  EXPECT_TRUE(Copies().empty());
  EXPECT_EQ(CopiesOnDisk(), 0u);
  EXPECT_EQ(player.calls, std::vector<std::string>{"close"}) << "the previous device is closed before the check";

  *folder.free_bytes += 1;
  Play(0);
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(Copies(), std::vector<std::string>{CopyName(0x0A3F, ".wav")}) << "a refused copy draws no name";
  EXPECT_EQ(CopiesOnDisk(), 1u);
}

TEST_F(Playing, TwoPlaybacksKeepTwoCopiesTheDeviceClosesFirstAndTheWindowsCloseDeletesThem) {
  ScanClips({Sound(3000), Sound(1000)});
  std::vector<std::string> log;
  player.on_close = [&] {
    log.push_back(std::to_string(Copies().size()) + " listed, " + std::to_string(CopiesOnDisk()) + " on disk");
  };
  Play(0);
  Play(1);
  const std::string first = CopyName(0x0A3F, ".wav");
  const std::string second = CopyName(0xFFFE, ".wav");
  EXPECT_EQ(Copies(), (std::vector<std::string>{first, second}));
  EXPECT_EQ(rsf::test::ReadWholeFile(first), ClipBytes(0));
  EXPECT_EQ(rsf::test::ReadWholeFile(second), ClipBytes(1));
  EXPECT_EQ(log, (std::vector<std::string>{"0 listed, 0 on disk", "1 listed, 1 on disk"}));

  // Closing: the device and the picture window first, then both copies, then the folder.
  deleter.on_attempt = [&](const std::string& path) { log.push_back("delete " + path); };
  presenter.Close();
  EXPECT_EQ(std::vector<std::string>(log.begin() + 2, log.end()),
            (std::vector<std::string>{"2 listed, 2 on disk", "delete " + first, "delete " + second}));
  EXPECT_EQ(pictures.calls.back(), "close");
  EXPECT_EQ(CopiesOnDisk(), 0u);
  EXPECT_EQ(folder.releases, 1);
}

// A link planted under the name drawn for a copy is never written through: the next name is
// drawn, and the file the link points to keeps its bytes.
TEST_F(Playing, ANameTakenByAPlantedLinkIsPassedOver) {
  ScanClips({Sound()});
  const std::string victim = temp.Write("victim.txt", {'m', 'i', 'n', 'e'});
  std::error_code no_links;
  std::filesystem::create_symlink(victim, CopyName(0x0A3F, ".wav"), no_links);
  if (no_links) GTEST_SKIP() << "no symbolic links here";
  Play(0);
  EXPECT_EQ(rsf::test::ReadWholeFile(victim), (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
  EXPECT_TRUE(std::filesystem::is_symlink(CopyName(0x0A3F, ".wav")));
  EXPECT_EQ(Copies(), std::vector<std::string>{CopyName(0xFFFE, ".wav")});
  EXPECT_EQ(rsf::test::ReadWholeFile(CopyName(0xFFFE, ".wav")), ClipBytes(0));
}

TEST_F(Playing, ReadFailureShowsTheErrorAndRemovesTheCopyAtOnce) {
  std::vector<std::uint8_t> bytes(500, 0);
  const std::vector<std::uint8_t> sound = Sound(100000);
  bytes.insert(bytes.end(), sound.begin(), sound.end());
  rsf::test::FailingStream* source = nullptr;
  presenter.StartAnalysis([&source, bytes] {
    auto stream = std::make_unique<rsf::test::FailingStream>(bytes);
    source = stream.get();
    return std::unique_ptr<SourceStream>(std::move(stream));
  });
  ASSERT_EQ(presenter.Engine().Catalogue().size(), 1u);
  source->FailRange(150000, 150001);  // the clip's middle cannot be read any more
  Play(0);
  const std::string name = CopyName(0x0A3F, ".wav");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].icon, BoxIcon::kStop);
  EXPECT_EQ(boxes.shown[0].caption, ApplicationTitle());
  EXPECT_EQ(boxes.shown[0].text, "数据流读取错误.");
  EXPECT_EQ(Copies(), std::vector<std::string>{name});
  EXPECT_FALSE(std::filesystem::exists(name)) << "no partial copy is left behind";
  EXPECT_EQ(Activity(), kStatusCopyingClip);
  EXPECT_FALSE(player.Opened());
  EXPECT_TRUE(shell.documents.empty());
}

TEST_F(Playing, NothingSelectedOrNoSourceLeftWarnsAndCopiesNothing) {
  ScanClips({Sound()});
  Play(-1);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes.shown[0].caption, "警告");
  EXPECT_EQ(boxes.shown[0].text, "你没有选择任何剪辑 !");
  EXPECT_TRUE(player.calls.empty());
  EXPECT_EQ(folder.free_queries, 0);

  // A scan whose source cannot be opened closes the old one and leaves its list.
  presenter.Command([this] { presenter.StartAnalysis([]() -> std::unique_ptr<SourceStream> { throw StreamReadError(); }); });
  ASSERT_EQ(presenter.Engine().Source(), nullptr);
  Play(0);
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[2].text, "数据流读取错误.");
  EXPECT_TRUE(Copies().empty());
  EXPECT_EQ(CopiesOnDisk(), 0u);
}

}  // namespace
}  // namespace rsf::desktop::test
