// Plain doubles of everything the desktop core talks to — the main view and the services —
// that record what they are asked and answer for the user, and a fixture that runs a main
// presenter over them. No toolkit and no display.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "desktop/main_presenter.h"
#include "support/scan_harness.h"
#include "synth/bitmap_synth.h"

namespace rsf::desktop::test {

class RecordingView final : public MainView {
 public:
  void SetBusy(bool on) override {
    busy = on;
    busy_changes.push_back(on);
  }
  void ClearClipList() override {
    lines.clear();
    ticked = false;
    ++clears;
  }
  void StartClipList() override { ClearClipList(); }
  void AddClipLine(const std::string& line) override { lines.push_back(line); }
  void TickAllClips() override { ticked = true; }
  void UntickAllClips() override { ticked = false; }
  std::vector<bool> ClipTicks() const override { return std::vector<bool>(lines.size(), ticked); }
  int SelectedClip() const override { return selected; }
  void ShowClipDetail(const std::vector<std::string>& lines) override { detail = lines; }
  std::string SourcePath() const override { return source; }
  void SetSourcePath(const std::string& path) override {
    source = path;
    sources_set.push_back(path);
  }
  std::string TargetPath() const override { return target; }
  void SetTargetPath(const std::string& path) override { target = path; }
  void SetDriveEntries(const std::vector<std::string>& entries) override { drives = entries; }
  void SelectDrive(int index) override { selected_drive = index; }
  std::string SelectedDriveEntry() const override {
    return selected_drive >= 0 && selected_drive < static_cast<int>(drives.size()) ? drives[selected_drive] : "";
  }
  void ShowCdMode(bool on) override { cd_mode_shown.push_back(on); }
  void SetGaugeMaximum(std::int64_t maximum) override { gauge_maximum = maximum; }
  void SetGaugeProgress(std::int64_t position) override { gauge = position; }
  void SetStatus(int panel, const std::string& text) override { status[panel] = text; }
  std::string Status(int panel) const override { return status[panel]; }
  void RepaintNow() override { ++repaints; }
  void ProcessEvents() override {
    ++event_rounds;
    if (on_events) on_events();
  }
  bool Closing() const override { return closing; }

  bool busy = false, ticked = false, closing = false;
  int selected = -1, selected_drive = -1, clears = 0;
  std::string source, target;
  std::vector<std::string> sources_set, drives;
  std::vector<bool> busy_changes, cd_mode_shown;
  std::vector<std::string> lines, detail;
  std::int64_t gauge_maximum = -1, gauge = -1;
  std::string status[4];
  int repaints = 0, event_rounds = 0;
  std::function<void()> on_events;
};

struct ShownBox {
  BoxIcon icon;
  std::string caption, text;
};

class ScriptedBoxes final : public MessageBoxes {
 public:
  void Show(BoxIcon icon, const std::string& caption, const std::string& text) override {
    shown.push_back({icon, caption, text});
  }
  RetryIgnoreAnswer AskRetryIgnore(const std::string& caption, const std::string& text) override {
    questions.push_back({BoxIcon::kError, caption, text});
    if (answers.empty()) return RetryIgnoreAnswer::kIgnore;
    const RetryIgnoreAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<ShownBox> shown, questions;
  std::deque<RetryIgnoreAnswer> answers;  // an empty queue answers "忽略(&I)"
};

class ScriptedDialogs final : public FileDialogs {
 public:
  std::optional<std::string> ChooseSourceFile() override { return source_answer; }
  std::optional<std::string> ChooseTargetFile() override { return target_answer; }
  std::optional<std::string> source_answer, target_answer;
};

// Answers at once, as a shell whose opener ends before the call returns (unless `hold` keeps
// the answer for later in `held`).
class RecordingShell final : public Shell {
 public:
  void OpenDocument(const std::string& path, DocumentOutcome done) override {
    documents.push_back(path);
    const platform::OpenOutcome outcome{document_error, document_reason};
    if (hold)
      held.push_back([done, outcome] { done(outcome); });
    else
      done(outcome);
  }
  std::vector<std::string> documents;
  std::uint32_t document_error = 0;
  std::string document_reason;
  bool hold = false;
  std::vector<std::function<void()>> held;
};

// Records every call as "open <path>", "play" or "close" (titles apart); refuses to open while
// `refusal` is set.
class ScriptedPlayer final : public MediaPlayer {
 public:
  void Open(const std::string& path, const std::string& title) override {
    calls.push_back("open " + path);
    titles.push_back(title);
    if (refusal) throw MediaDeviceError(*refusal);
  }
  void Play() override { calls.push_back("play"); }
  void Close() override {
    calls.push_back("close");
    if (on_close) on_close();
  }
  void SetWindowClosedHandler(std::function<void()> closed) override { window_closed = std::move(closed); }
  bool Opened() const {
    for (const std::string& call : calls)
      if (call != "close") return true;
    return false;
  }

  std::vector<std::string> calls, titles;
  std::optional<std::string> refusal;
  std::function<void()> on_close, window_closed;
};

// Files whose extension is in `decodes` are pictures; the window's calls are recorded as
// "show <path>", "hide" and "close".
class ScriptedPictures final : public PictureView {
 public:
  bool ShowPictureFile(const std::string& path) override {
    calls.push_back("show " + path);
    const std::string extension = std::filesystem::path(path).extension().string();
    showing = decodes.count(extension) != 0;
    return showing;
  }
  void HidePicture() override {
    calls.push_back("hide");
    showing = false;
  }
  void ClosePicture() override {
    calls.push_back("close");
    showing = false;
  }
  void SetPictureClosedHandler(std::function<void()> closed) override { window_closed = std::move(closed); }

  std::set<std::string> decodes = {".bmp", ".jpg"};
  std::vector<std::string> calls;
  bool showing = false;
  std::function<void()> window_closed;
};

// A folder of the test; its free space is the file system's unless `free_bytes` says otherwise.
class ScriptedTemporaryFolder final : public TemporaryFolder {
 public:
  std::string Path() override { return folder; }
  std::int64_t FreeBytes() override {
    ++free_queries;
    if (free_bytes) return *free_bytes;
    return static_cast<std::int64_t>(std::filesystem::space(folder).available);
  }
  void Release() override { ++releases; }

  std::string folder;
  std::optional<std::int64_t> free_bytes;
  int free_queries = 0, releases = 0;
};

class ScriptedDeleter final : public FileDeleter {
 public:
  bool Delete(const std::string& path) override {
    attempts.push_back(path);
    if (on_attempt) on_attempt(path);
    if (locked.count(path) != 0) return false;
    std::error_code error;
    std::filesystem::remove(path, error);
    return true;
  }
  bool Exists(const std::string& path) override { return vanished.count(path) == 0; }

  std::set<std::string> locked;    // deletion fails while a path is in here
  std::set<std::string> vanished;  // paths that no longer exist
  std::vector<std::string> attempts;
  std::function<void(const std::string&)> on_attempt;
};

// The services a front end gives the presenter, as doubles.
struct ServiceDoubles {
  DesktopServices Services() { return {boxes, dialogs, shell, deleter, player, pictures, folder}; }

  ScriptedBoxes boxes;
  ScriptedDialogs dialogs;
  RecordingShell shell;
  ScriptedDeleter deleter;
  ScriptedPlayer player;
  ScriptedPictures pictures;
  ScriptedTemporaryFolder folder;
};

// Bitmaps of 1 KiB and more in filler, `count` of them, about a scan window apart.
inline std::vector<std::uint8_t> Bitmaps(int count) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < count; ++i) {
    bytes.resize(bytes.size() + 60000, 0xEE);
    const std::vector<std::uint8_t> bitmap = synth::BitmapFile(16, 16 + i, 24);
    bytes.insert(bytes.end(), bitmap.begin(), bitmap.end());
  }
  return bytes;
}

// A main presenter over the doubles; its scans are paced by a clock that moves a tenth of a
// second at every look, so every window gets its repaint and event round.
class PresenterTest : public ::testing::Test, protected ServiceDoubles {
 protected:
  // `help_name`: the user guide's file name in the test's folder (where it does not exist yet).
  explicit PresenterTest(const std::string& help_name = "guide.html") : help_file(temp.File(help_name)) {
    folder.folder = temp.File("");
    presenter.SetPacingClock([this] { return now += 0.1; });
  }
  // Scans `bytes` as the source (a memory stream).
  void Scan(std::vector<std::uint8_t> bytes) {
    presenter.StartAnalysis([bytes] { return std::make_unique<MemoryStream>(bytes); });
  }

  double now = 0;
  rsf::test::TempDir temp;
  RecordingView view;
  std::string help_file;
  MainPresenter presenter{view, Services(), help_file};
};

}  // namespace rsf::desktop::test
