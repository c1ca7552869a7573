// Closing the main window: media device first, then every temporary clip copy deleted, a copy
// that cannot be deleted asking retry or ignore; then the program ends.
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <filesystem>

#include "support/watchdog.h"
#include "synth/riff_synth.h"
#include "ui/widgets/check_list_box.h"
#include "ui/services/qt_media_player.h"
#include "ui/services/temporary_files.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class WindowClose : public WindowTest {
 protected:
  void SetUp() override { Start(); }
};

TEST_F(WindowClose, LockedCopyAnsweredRetryThenIgnoreIsTriedTwiceAndLeft) {
  std::vector<std::string> log;
  Form().Hooks().close_media = [&] { log.push_back("close media"); };
  deleter_->on_attempt = [&](const std::string& path) { log.push_back("delete " + path); };
  Form().TemporaryFiles() = {"/tmp/RSFtmp0001.avi", "/tmp/RSFtmp0002.wav", "/tmp/RSFtmp0003.jpg"};
  deleter_->locked = {"/tmp/RSFtmp0002.wav"};
  boxes_->answers = {RetryIgnoreAnswer::kRetry, RetryIgnoreAnswer::kIgnore};

  Form().Exit1->trigger();

  EXPECT_EQ(log, (std::vector<std::string>{"close media", "delete /tmp/RSFtmp0001.avi", "delete /tmp/RSFtmp0002.wav",
                                           "delete /tmp/RSFtmp0002.wav", "delete /tmp/RSFtmp0003.jpg"}));
  ASSERT_EQ(boxes_->questions.size(), 2u);
  for (const ShownBox& question : boxes_->questions) {
    EXPECT_EQ(question.caption, QStringLiteral("错误"));
    EXPECT_EQ(question.text, QStringLiteral("不能删除临时文件 \"/tmp/RSFtmp0002.wav\" !"));
  }
  EXPECT_FALSE(Form().isVisible());
}

TEST_F(WindowClose, RetryAfterTheCopyVanishedGoesOnToTheNext) {
  Form().TemporaryFiles() = {"/tmp/a.avi", "/tmp/b.avi"};
  deleter_->locked = {"/tmp/a.avi"};
  deleter_->on_attempt = [&](const std::string& path) {
    if (path == "/tmp/a.avi") deleter_->vanished.insert(path);
  };
  boxes_->answers = {RetryIgnoreAnswer::kRetry};
  Form().close();
  EXPECT_EQ(deleter_->attempts, (std::vector<std::string>{"/tmp/a.avi", "/tmp/b.avi"}));
  EXPECT_EQ(boxes_->questions.size(), 1u);
}

TEST_F(WindowClose, CloseSequenceRunsOnceAndWithoutCopiesAsksNothing) {
  int media_closes = 0;
  Form().Hooks().close_media = [&] { ++media_closes; };
  Form().close();
  Form().close();
  EXPECT_EQ(media_closes, 1);
  EXPECT_TRUE(deleter_->attempts.empty());
  EXPECT_TRUE(boxes_->questions.empty());
}

// With the real player: a sound played in its window, then the main window closed. The
// program's event loop ends (nothing else keeps it running), the player's window is gone and
// the copy is deleted. A loop that never ends fails through the watchdog.
class WindowCloseAfterPlayback : public WindowTest {
 protected:
  WindowCloseAfterPlayback() {
    services_.player = std::make_unique<QtMediaPlayer>(std::chrono::seconds(20));
    services_.deleter = std::make_unique<PlatformFileDeleter>();
  }
};

TEST_F(WindowCloseAfterPlayback, EndsTheProgramAndDeletesTheCopy) {
  Start();
  ScanFile(WriteSource("sound.bin", SourceBuilder().Filler(500).Add(synth::PcmWave(22050, 1, 16, 3 * 44100)).Filler(500)));
  ASSERT_EQ(Form().rzFoundClips->count(), 1);
  Form().rzFoundClips->setCurrentRow(0);
  const rsf::test::Watchdog watchdog(std::chrono::seconds(60), "closing the main window after a playback");
  Form().Play->trigger();
  ASSERT_EQ(Form().TemporaryFiles().size(), 1u);
  const std::string copy = Form().TemporaryFiles()[0];
  ASSERT_TRUE(std::filesystem::exists(copy));
  QWidget* player_window = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->windowTitle() == QStringLiteral("文件 #1  WAV 音频")) player_window = window;
  ASSERT_NE(player_window, nullptr) << "sound plays in a window of its own, titled with the clip";

  QTimer::singleShot(500, &Form(), [this] { Form().close(); });
  QApplication::exec();
  EXPECT_FALSE(std::filesystem::exists(copy));
  for (QWidget* window : QApplication::topLevelWidgets())
    EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
}

TEST(PlatformFileDeleter, DeletesFilesAndCountsAMissingFileAsDeleted) {
  rsf::test::TempDir folder;
  const std::string copy = folder.File("RSFtmp1234.avi");
  rsf::test::WriteWholeFile(copy, {1, 2, 3});
  PlatformFileDeleter deleter;
  EXPECT_TRUE(deleter.Exists(copy));
  EXPECT_TRUE(deleter.Delete(copy));
  EXPECT_FALSE(deleter.Exists(copy));
  EXPECT_TRUE(deleter.Delete(copy));
  // A non-empty folder in the way is not deleted.
  std::filesystem::create_directory(folder.File("busy"));
  rsf::test::WriteWholeFile(folder.File("busy/inner"), {1});
  EXPECT_FALSE(deleter.Delete(folder.File("busy")));
}

}  // namespace
}  // namespace rsf::ui::test
