// What playback stands on in the Qt program: error texts, the shell's "open" through xdg-open,
// and the media player on Qt Multimedia with real sound and video files.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QSlider>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "platform/error_text.h"
#include "platform/shell_open.h"
#include "platform/temporary_folder.h"
#include "support/scan_harness.h"
#include "support/scoped_variable.h"
#include "synth/riff_synth.h"
#include "support/watchdog.h"
#include "ui/windows/player_window.h"
#include "ui/services/qt_media_player.h"
#include "ui/services/shell.h"

namespace rsf::ui::test {
namespace {

using rsf::test::ScopedVariable;

TEST(ErrorTexts, AreTheSystemsMessagesOrNone) {
  EXPECT_NE(*platform::SystemErrorMessage(EACCES), *platform::SystemErrorMessage(ENOENT));
  EXPECT_FALSE(platform::SystemErrorMessage(0x7FFFFFF0u));
  EXPECT_FALSE(platform::SystemErrorMessage(0x80000000u));
}

// A stand-in xdg-open on PATH that logs its argument and ends as the test says.
class ShellOpen : public ::testing::Test {
 protected:
  void Opener(const std::string& body) {
    const std::string script = dir_.File("bin/xdg-open");
    std::filesystem::create_directories(dir_.File("bin"));
    std::ofstream(script) << "#!/bin/sh\necho \"$1\" >> '" << dir_.File("opened") << "'\n" << body << "\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  }
  std::string Opened() {
    std::ifstream log(dir_.File("opened"));
    std::string line;
    std::getline(log, line);
    return line;
  }
  rsf::test::TempDir dir_;
  ScopedVariable path_{"PATH", dir_.File("bin") + ":/usr/bin:/bin"};
};

TEST_F(ShellOpen, StartedOpenerIsSuccessAndItsFailuresBecomeErrorCodes) {
  const std::string document = dir_.File("RSFtmp0001.smk");
  Opener("exit 0");
  EXPECT_EQ(platform::OpenWithAssociatedProgram(document).error, 0u);
  EXPECT_EQ(Opened(), document);

  // xdg-open's verdicts, each with its reason in the user's words.
  const struct {
    int exit;
    int error;
    const char* reason;
  } verdicts[] = {{1, EINVAL, "打开文件的命令参数有误"},
                  {2, ENOENT, "文件不存在"},
                  {3, EOPNOTSUPP, "没有与这类文件关联的程序"},
                  {4, EOPNOTSUPP, "关联的程序未能打开这个文件"}};
  for (const auto& verdict : verdicts) {
    Opener("exit " + std::to_string(verdict.exit));
    const platform::OpenOutcome outcome = platform::OpenWithAssociatedProgram(document);
    EXPECT_EQ(outcome.error, static_cast<std::uint32_t>(verdict.error)) << verdict.exit;
    EXPECT_EQ(outcome.reason, verdict.reason) << verdict.exit;
  }
  EXPECT_EQ(platform::OpenWithAssociatedProgram("").error, static_cast<std::uint32_t>(ENOENT));
}

TEST_F(ShellOpen, OpenerThatStaysCountsAsStartedAndAMissingOpenerAsTheSystemsError) {
  Opener("exec >/dev/null 2>&1\nsleep 3");  // lets go of the test's output at once
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(platform::OpenWithAssociatedProgram(dir_.File("a.avi")).error, 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500)) << "the wait is bounded";

  ScopedVariable nowhere("PATH", dir_.File("empty"));
  const std::uint32_t error = platform::OpenWithAssociatedProgram(dir_.File("a.avi")).error;
  EXPECT_EQ(error, static_cast<std::uint32_t>(ENOENT));
}

// The window's thread never waits for the opener: the call returns while the opener still
// runs (it waits for a file the test makes only afterwards), and the outcome arrives through
// the event loop.
TEST_F(ShellOpen, TheWindowNeverWaitsForTheOpener) {
  Opener("while [ ! -e '" + dir_.File("go") + "' ]; do sleep 0.02; done\nexit 3");
  QtShell shell;
  std::optional<platform::OpenOutcome> outcome;
  shell.OpenDocument(dir_.File("a.smk"), [&](const platform::OpenOutcome& answer) { outcome = answer; });
  EXPECT_FALSE(outcome) << "the call waited for the opener";
  std::ofstream(dir_.File("go")) << "go";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!outcome && std::chrono::steady_clock::now() < deadline) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->error, static_cast<std::uint32_t>(EOPNOTSUPP));
  EXPECT_EQ(outcome->reason, "没有与这类文件关联的程序");
}

// The real player on real encoder output, each clip played for a moment in its window, a video's
// pictures arriving in it also where no sound device is (a video with sound once showed none
// there on the FFmpeg media backend, held back by the audio output the player had; ctest runs
// the videos on that backend too). A player that blocks the window's thread (as asking the video
// sink from inside its own signal did) ends the test program through the watchdog instead of
// hanging it.
struct RealClip {
  const char* name;
  const char* ffmpeg;  // arguments making the file; null: a synthesized WAVE
  bool video;
};

class QtMediaPlayerTest : public ::testing::TestWithParam<RealClip> {
 protected:
  std::string Make(const RealClip& clip) {
    const std::string path = dir_.File(clip.name);
    if (clip.ffmpeg == nullptr) return dir_.Write(clip.name, synth::PcmWave(22050, 1, 16, 44100));
    const std::string command = std::string("ffmpeg -loglevel error -y ") + clip.ffmpeg + " '" + path + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    return path;
  }
  // Lets events run for `seconds` while the clip plays; a window thread that stops answering
  // never gets here again.
  static void PlayFor(double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  // Counts the pictures that reach the window's video area, from the moment it exists.
  void CountPictures() {
    QVideoSink* sink = player_.Window()->VideoArea()->videoSink();
    QObject::connect(sink, &QVideoSink::videoFrameChanged, sink, [this](const QVideoFrame& frame) {
      if (frame.isValid()) ++pictures_;
    });
  }
  rsf::test::TempDir dir_;
  QtMediaPlayer player_{std::chrono::seconds(20)};
  int pictures_ = 0;
};

TEST_P(QtMediaPlayerTest, PlaysInItsTitledWindowStopsAndReleasesTheFile) {
  const RealClip& clip = GetParam();
  const std::string path = Make(clip);
  if (path.empty()) GTEST_SKIP() << "ffmpeg is needed to make the clip";
  const rsf::test::Watchdog watchdog(std::chrono::seconds(60), std::string("playing ") + clip.name);
  player_.Close();  // nothing open: nothing happens
  int closed = 0;
  player_.SetWindowClosedHandler([&] { ++closed; });
  ASSERT_NO_THROW(player_.Open(path, "文件 #15  剪辑"));
  ASSERT_NE(player_.Window(), nullptr);
  EXPECT_EQ(player_.Window()->windowTitle(), QStringLiteral("文件 #15  剪辑"));
  ASSERT_EQ(player_.Window()->VideoArea() != nullptr, clip.video);
  if (clip.video) CountPictures();
  player_.Play();
  EXPECT_TRUE(player_.Window()->isVisible());
  PlayFor(1.5);
  EXPECT_GT(player_.Window()->PositionSlider()->maximum(), 1000) << "the slider spans the clip";
  EXPECT_GT(player_.Window()->PositionSlider()->value(), 0) << "and follows the playing";
  if (clip.video) {
    EXPECT_GT(pictures_, 5) << "the picture plays";
  }

  player_.Window()->StopButton()->click();
  PlayFor(0.2);
  EXPECT_FALSE(player_.IsPlaying()) << "the stop button stops";
  player_.Play();
  PlayFor(0.3);
  player_.Window()->close();
  PlayFor(0.2);
  EXPECT_FALSE(player_.IsPlaying()) << "closing the window stops";
  EXPECT_EQ(closed, 1);
  player_.Close();
  EXPECT_EQ(player_.Window(), nullptr);
  EXPECT_FALSE(player_.IsOpen());
  EXPECT_EQ(closed, 1) << "the program's own Close is no user's closing";
  EXPECT_TRUE(std::filesystem::remove(path)) << "the file is released";
}

INSTANTIATE_TEST_SUITE_P(
    RealEncoderOutput, QtMediaPlayerTest,
    ::testing::Values(RealClip{"RSFtmp0001.wav", nullptr, false},
                      RealClip{"RSFtmp0002.avi", "-f lavfi -i testsrc=duration=3:size=160x120:rate=15 -c:v cinepak", true},
                      RealClip{"RSFtmp0003.mpg", "-f lavfi -i testsrc=duration=3:size=352x240:rate=25 "
                                                 "-f lavfi -i sine=duration=3 -c:v mpeg1video -c:a mp2 -f mpeg", true},
                      RealClip{"RSFtmp0004.avi", "-f lavfi -i testsrc=duration=3:size=160x120:rate=15 -c:v mjpeg", true},
                      RealClip{"RSFtmp0005.ogg", "-f lavfi -i testsrc=duration=3:size=160x120:rate=15 "
                                                 "-f lavfi -i sine=duration=3 -c:v libtheora -c:a libvorbis", true},
                      RealClip{"RSFtmp0006.ogg", "-f lavfi -i sine=duration=3 -c:a libvorbis", false},
                      RealClip{"RSFtmp0007.avi", "-f lavfi -i testsrc=duration=3:size=160x120:rate=10 "
                                                 "-f lavfi -i sine=duration=3 -c:v cinepak -c:a pcm_s16le", true},
                      RealClip{"RSFtmp0008.avi", "-f lavfi -i testsrc=duration=3:size=160x120:rate=10 "
                                                 "-f lavfi -i sine=duration=3 -c:v msvideo1 -c:a pcm_s16le", true}),
    [](const ::testing::TestParamInfo<RealClip>& info) {
      return std::string(std::strchr(info.param.name, '.') + 1) + std::to_string(info.index);
    });

TEST(QtMediaPlayerRefusal, RefusesWhatTheMediaServicesCannotOpen) {
  rsf::test::TempDir dir;
  QtMediaPlayer player(std::chrono::seconds(20));
  std::vector<std::uint8_t> noise(20000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 7919 % 253);
  EXPECT_THROW(player.Open(dir.Write("RSFtmp0002.smk", noise), "文件 #1  Smacker 视频"), MediaDeviceError);
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(player.Window(), nullptr);
  EXPECT_THROW(player.Open(dir.File("missing.wav"), "文件 #2  WAV 音频"), MediaDeviceError);
}

}  // namespace
}  // namespace rsf::ui::test
