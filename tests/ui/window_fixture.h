// Test doubles that answer for the user (message boxes, file dialogs, the shell, file
// deletion, the media player, the temporary folder), builders of source files with known
// clips, and a fixture that starts the program offscreen with the doubles in place.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <ostream>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/scan_harness.h"
#include "ui/services/form_services.h"
#include "ui/windows/main_form.h"
#include "ui/program.h"

// Readable Qt strings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace rsf::ui::test {

struct ShownBox {
  BoxIcon icon;
  QString caption;
  QString text;
};

class ScriptedBoxes final : public MessageBoxes {
 public:
  void Show(QWidget* owner, BoxIcon icon, const QString& caption, const QString& text) override;
  RetryIgnoreAnswer AskRetryIgnore(QWidget* owner, const QString& caption, const QString& text) override;

  std::vector<ShownBox> shown;
  std::vector<ShownBox> questions;
  std::deque<RetryIgnoreAnswer> answers;  // an empty queue answers "忽略(&I)"
  std::function<void(const ShownBox&)> on_show;
};

class ScriptedDialogs final : public FileDialogs {
 public:
  std::optional<QString> OpenFile(QWidget*) override {
    ++open_calls;
    return open_answer;
  }
  std::optional<QString> SaveFile(QWidget*) override {
    ++save_calls;
    return save_answer;
  }

  std::optional<QString> open_answer;
  std::optional<QString> save_answer;
  int open_calls = 0;
  int save_calls = 0;
};

class RecordingShell final : public Shell {
 public:
  bool Open(const QUrl& url) override {
    opened.push_back(url);
    return succeed;
  }
  // Answers at once, as a shell whose opener ends before the call returns.
  void OpenDocument(const std::string& path, DocumentOutcome done) override {
    documents.push_back(path);
    if (done) done(platform::OpenOutcome{document_error, document_reason});
  }
  std::vector<QUrl> opened;
  bool succeed = true;
  std::vector<std::string> documents;
  std::uint32_t document_error = 0;  // what OpenDocument answers
  std::string document_reason;
};

// Records every call as "open <path>", "play" or "close" in `calls` (and the titles opened in
// `titles`); refuses to open while `refusal` is set.
class ScriptedPlayer final : public desktop::MediaPlayer {
 public:
  void Open(const std::string& path, const std::string& title) override;
  void Play() override { calls.push_back("play"); }
  void Close() override;
  void SetWindowClosedHandler(std::function<void()> closed) override { window_closed = std::move(closed); }

  std::vector<std::string> calls;
  std::vector<std::string> titles;
  std::optional<std::string> refusal;
  std::function<void()> on_close;
  std::function<void()> window_closed;
  bool open = false;
};

// The temporary folder is a folder of the test; its free space is the file system's unless
// `free_bytes` says otherwise.
class ScriptedTemporaryFolder final : public desktop::TemporaryFolder {
 public:
  std::string Path() override { return folder; }
  std::int64_t FreeBytes() override;

  std::string folder;
  std::optional<std::int64_t> free_bytes;
  int free_queries = 0;
};

class ScriptedDeleter final : public desktop::FileDeleter {
 public:
  bool Delete(const std::string& path) override;
  bool Exists(const std::string& path) override { return vanished.count(path) == 0; }

  bool remove_files = false;       // unlocked paths are also removed from the disk

  std::set<std::string> locked;    // deletion fails while a path is in here
  std::set<std::string> vanished;  // paths that no longer exist
  std::vector<std::string> attempts;
  std::function<void(const std::string&)> on_attempt;
};

// A source with clips at known places; filler is zero bytes, in which no detector finds
// anything.
class SourceBuilder {
 public:
  struct Clip {
    std::int64_t start;
    std::int64_t end;
  };
  SourceBuilder& Filler(std::size_t count);
  // A minimal JFIF image: SOI, APP0 "JFIF", `body` bytes, EOI. No information text.
  SourceBuilder& Jpeg(std::size_t body);
  // A PCM WAVE file, 44100 Hz stereo 16 bit, with `data` sample bytes. Has an information text.
  SourceBuilder& Wave(std::size_t data);
  // Any clip made elsewhere (a real picture, a real sound).
  SourceBuilder& Add(const std::vector<std::uint8_t>& clip);
  const std::vector<Clip>& Clips() const { return clips_; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::vector<Clip> clips_;
};

// Ten JPEG clips of different sizes, about 25 KB apart, across several scan windows.
SourceBuilder TenJpegs();

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Starts the program (main window and About window) and shows the main window.
  void Start(const QStringList& arguments = {});
  // Shortcuts reach only the active window.
  void ActivateWindow();
  TfrmMainForm& Form() { return program_->MainForm(); }
  TfrmSplash& Splash() { return program_->Splash(); }

  std::string WriteSource(const std::string& name, const SourceBuilder& source);
  // Names `path` in the source field and starts a scan through the action.
  void ScanFile(const std::string& path);
  QStringList ListLines() const;
  QStringList PaneLines() const;
  QString Panel(int panel) const;
  // Clicks entry `entry` of the clip list with the mouse.
  void ClickEntry(int entry);
  // Calls `probe` at every round of event processing until `Stop` (during a scan: once per
  // window).
  void ProbeEvents(std::function<void()> probe);
  void StopProbing();

  rsf::test::TempDir temp_;
  FormServices services_;
  ScriptedBoxes* boxes_;
  ScriptedDialogs* dialogs_;
  RecordingShell* shell_;
  ScriptedDeleter* deleter_;
  ScriptedPlayer* player_;
  ScriptedTemporaryFolder* folder_;
  std::unique_ptr<Program> program_;

 private:
  class QTimer* probe_timer_ = nullptr;
};

}  // namespace rsf::ui::test
