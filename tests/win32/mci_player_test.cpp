// The MCI player under Wine: files no device takes are refused with MCI's text, a sound the
// system has no output for goes on to the shell through the presenter, and (with the output
// check left out, as Wine here has no sound device) a sound plays in a small window with a stop
// button whose closing by the user, and only by the user, sets the presenter's status back.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "desktop/desktop_doubles.h"
#include "desktop/window_texts.h"
#include "scan/catalogue/clip_type_table.h"
#include "synth/riff_synth.h"
#include "win32/mci_player.h"
#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

std::vector<std::uint8_t> Sound() { return synth::PcmWave(8000, 1, 8, 800); }

std::string WindowText(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return Utf8(text);
}

class MciPlayback : public ::testing::Test, protected desktop::test::ServiceDoubles {
 protected:
  explicit MciPlayback(MciPlayer::SoundOutput output = MciPlayer::SoundOutput::kChecked) : mci(output) {
    folder.folder = temp.File("");
    owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr, nullptr,
                              nullptr, nullptr);
    mci.SetOwner(owner);
    presenter.SetPacingClock([this] { return now += 0.1; });
  }
  ~MciPlayback() override {
    mci.Close();
    if (owner != nullptr) ::DestroyWindow(owner);
  }

  // Scans a source holding one WAVE clip and plays the clip, as a double-click does.
  void PlaySound() {
    std::vector<std::uint8_t> source(500, 0);
    const std::vector<std::uint8_t> clip = Sound();
    source.insert(source.end(), clip.begin(), clip.end());
    source.resize(source.size() + 70000, 0);
    presenter.StartAnalysis([source] { return std::make_unique<MemoryStream>(source); });
    ASSERT_EQ(presenter.Engine().Catalogue().size(), 1u);
    view.selected = 0;
    presenter.Command([this] { presenter.Play(); });
  }
  const std::string& Activity() const { return view.status[kStatusPanelActivity]; }

  double now = 0;
  rsf::test::TempDir temp;
  HWND owner = nullptr;
  MciPlayer mci;
  desktop::test::RecordingView view;
  desktop::MainPresenter presenter{view, {boxes, dialogs, shell, deleter, mci, pictures, folder}, temp.File("guide.html")};
};

class MciPlaybackWithoutOutputCheck : public MciPlayback {
 protected:
  MciPlaybackWithoutOutputCheck() : MciPlayback(MciPlayer::SoundOutput::kNotChecked) {}
};

TEST_F(MciPlayback, FilesNoDeviceTakesAreRefusedWithMcisText) {
  const std::vector<std::uint8_t> text = {'n', 'o', ' ', 'm', 'e', 'd', 'i', 'a'};
  for (const std::string& path : {temp.Write("notes.wav", text), temp.Write("notes.txt", text), temp.File("gone.avi")}) {
    try {
      mci.Open(path, "clip");
      ADD_FAILURE() << path << " opened";
    } catch (const desktop::MediaDeviceError& refusal) {
      EXPECT_STRNE(refusal.what(), "") << path;
    }
    EXPECT_FALSE(mci.IsOpen()) << path;
    EXPECT_EQ(mci.Window(), nullptr) << path;
  }
}

// Wine's prefix here has no wave output: MCI would open the sound and fail unseen once playing,
// so the player refuses it and the presenter hands the copy to the shell. Where a sound device
// exists, the sound plays in the player's window instead.
TEST_F(MciPlayback, ASoundWithoutOutputGoesToTheShell) {
  PlaySound();
  if (::waveOutGetNumDevs() == 0) {
    ASSERT_EQ(shell.documents.size(), 1u);
    EXPECT_TRUE(shell.documents[0].ends_with(".wav"));
    EXPECT_EQ(Activity(), desktop::kStatusIdle) << "the shell has answered";
    EXPECT_FALSE(mci.IsOpen());
  } else {
    EXPECT_TRUE(shell.documents.empty());
    EXPECT_EQ(Activity(), desktop::kStatusInternalPlayer);
    EXPECT_TRUE(::IsWindowVisible(mci.Window()));
  }
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MciPlaybackWithoutOutputCheck, ASoundPlaysInASmallWindowWithAStopButtonUntilTheUserClosesIt) {
  PlaySound();
  EXPECT_TRUE(shell.documents.empty());
  EXPECT_EQ(Activity(), desktop::kStatusInternalPlayer);
  HWND window = mci.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(::GetWindow(window, GW_OWNER), owner);
  EXPECT_EQ(WindowText(window), "文件 #1  " + std::string(TypeNameForExtension(".wav")));
  EXPECT_EQ(mci.VideoArea(), nullptr) << "a sound shows only the button";
  EXPECT_EQ(WindowText(mci.StopButton()), desktop::kPlayerStopCaption);

  // MCI's notice ends the playing: only the open device's, and not a play superseded.
  EXPECT_TRUE(mci.IsPlaying());
  ::SendMessageW(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(mci.Device() + 1));
  ::SendMessageW(window, MM_MCINOTIFY, MCI_NOTIFY_SUPERSEDED, static_cast<LPARAM>(mci.Device()));
  EXPECT_TRUE(mci.IsPlaying());
  ::SendMessageW(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(mci.Device()));
  EXPECT_FALSE(mci.IsPlaying());
  EXPECT_TRUE(::IsWindowVisible(window)) << "the window stays after the end, as the Qt player's";
  mci.Play();
  ::SendMessageW(mci.StopButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(mci.IsPlaying());
  EXPECT_TRUE(mci.IsOpen());

  ::SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_FALSE(mci.IsOpen());
  EXPECT_EQ(Activity(), desktop::kStatusIdle);
}

// The program's own closing (Close, a new Open, the main window's end) reports nothing.
TEST_F(MciPlaybackWithoutOutputCheck, ClosingByTheProgramReportsNothing) {
  int closes = 0;
  mci.SetWindowClosedHandler([&closes] { ++closes; });
  const std::string path = temp.Write("clip.wav", Sound());
  mci.Open(path, "first");
  HWND first = mci.Window();
  EXPECT_FALSE(::IsWindowVisible(first)) << "shown by Play";
  mci.Open(path, "second");
  EXPECT_FALSE(::IsWindow(first));
  EXPECT_EQ(WindowText(mci.Window()), "second");
  mci.Close();
  EXPECT_EQ(mci.Window(), nullptr);
  EXPECT_FALSE(mci.IsOpen());
  mci.Close();

  mci.Open(path, "third");
  mci.Play();
  ::DestroyWindow(owner);
  owner = nullptr;
  EXPECT_EQ(mci.Window(), nullptr);
  EXPECT_FALSE(mci.IsOpen());
  EXPECT_EQ(closes, 0);
}

}  // namespace
}  // namespace rsf::win32
