// Closing the main window after a real playback: the player's window goes, the copy is deleted
// and the program ends. (The close order itself is the desktop core's, tested there.)
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <filesystem>

#include "support/watchdog.h"
#include "synth/riff_synth.h"
#include "ui/widgets/check_list_box.h"
#include "ui/services/qt_media_player.h"
#include "desktop/temporary_copies.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

// With the real player: a sound played in its window, then the main window closed. The
// program's event loop ends (nothing else keeps it running), the player's window is gone and
// the copy is deleted. A loop that never ends fails through the watchdog.
class WindowCloseAfterPlayback : public WindowTest {
 protected:
  WindowCloseAfterPlayback() {
    services_.player = std::make_unique<QtMediaPlayer>(std::chrono::seconds(20));
    services_.deleter = std::make_unique<desktop::PlatformFileDeleter>();
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

}  // namespace
}  // namespace rsf::ui::test
