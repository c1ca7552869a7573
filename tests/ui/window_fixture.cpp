// The doubles, source builders and fixture of the window tests.
#include "window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <system_error>

#include "synth/byte_writer.h"
#include "ui/widgets/check_list_box.h"
#include "ui/widgets/status_panels.h"

namespace rsf::ui::test {

void ScriptedBoxes::Show(QWidget*, BoxIcon icon, const QString& caption, const QString& text) {
  shown.push_back({icon, caption, text});
  if (on_show) on_show(shown.back());
}

RetryIgnoreAnswer ScriptedBoxes::AskRetryIgnore(QWidget*, const QString& caption, const QString& text) {
  questions.push_back({BoxIcon::kError, caption, text});
  if (answers.empty()) return RetryIgnoreAnswer::kIgnore;
  const RetryIgnoreAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

bool ScriptedDeleter::Delete(const std::string& path) {
  attempts.push_back(path);
  if (on_attempt) on_attempt(path);
  if (locked.count(path) != 0) return false;
  if (remove_files) {
    std::error_code error;
    std::filesystem::remove(path, error);
  }
  return true;
}

void ScriptedPlayer::Open(const std::string& path, const std::string& title) {
  calls.push_back("open " + path);
  titles.push_back(title);
  if (refusal) throw desktop::MediaDeviceError(*refusal);
  open = true;
}

void ScriptedPlayer::Close() {
  calls.push_back("close");
  if (on_close) on_close();
  open = false;
}

std::int64_t ScriptedTemporaryFolder::FreeBytes() {
  ++free_queries;
  if (free_bytes) return *free_bytes;
  return static_cast<std::int64_t>(std::filesystem::space(folder).available);
}

SourceBuilder& SourceBuilder::Filler(std::size_t count) {
  bytes_.insert(bytes_.end(), count, 0);
  return *this;
}

SourceBuilder& SourceBuilder::Jpeg(std::size_t body) {
  synth::ByteWriter jpeg;
  // SOI, APP0 of 16 bytes with "JFIF\0", version 1.1, no density, no thumbnail.
  jpeg.U8(0xFF).U8(0xD8).U8(0xFF).U8(0xE0).BE16(16).Text("JFIF").U8(0).U8(1).U8(1).U8(0).BE16(1).BE16(1).U8(0).U8(0);
  jpeg.Fill(body, 0x11).U8(0xFF).U8(0xD9);
  const auto start = static_cast<std::int64_t>(bytes_.size());
  bytes_.insert(bytes_.end(), jpeg.bytes().begin(), jpeg.bytes().end());
  clips_.push_back({start, static_cast<std::int64_t>(bytes_.size())});
  return *this;
}

SourceBuilder& SourceBuilder::Wave(std::size_t data) {
  synth::ByteWriter wave;
  wave.Text("RIFF").LE32(static_cast<std::uint32_t>(36 + data)).Text("WAVE");
  wave.Text("fmt ").LE32(16).LE16(1).LE16(2).LE32(44100).LE32(176400).LE16(4).LE16(16);
  wave.Text("data").LE32(static_cast<std::uint32_t>(data)).Fill(data, 0x22);
  const auto start = static_cast<std::int64_t>(bytes_.size());
  bytes_.insert(bytes_.end(), wave.bytes().begin(), wave.bytes().end());
  clips_.push_back({start, static_cast<std::int64_t>(bytes_.size())});
  return *this;
}

SourceBuilder& SourceBuilder::Add(const std::vector<std::uint8_t>& clip) {
  const auto start = static_cast<std::int64_t>(bytes_.size());
  bytes_.insert(bytes_.end(), clip.begin(), clip.end());
  clips_.push_back({start, static_cast<std::int64_t>(bytes_.size())});
  return *this;
}

SourceBuilder TenJpegs() {
  SourceBuilder source;
  for (int i = 0; i < 10; ++i) source.Filler(20000 + 97 * i).Jpeg(1000 + 700 * static_cast<std::size_t>(i));
  source.Filler(5000);
  return source;
}

WindowTest::WindowTest() {
  auto boxes = std::make_unique<ScriptedBoxes>();
  auto dialogs = std::make_unique<ScriptedDialogs>();
  auto shell = std::make_unique<RecordingShell>();
  auto deleter = std::make_unique<ScriptedDeleter>();
  auto player = std::make_unique<ScriptedPlayer>();
  auto folder = std::make_unique<ScriptedTemporaryFolder>();
  boxes_ = boxes.get();
  dialogs_ = dialogs.get();
  shell_ = shell.get();
  deleter_ = deleter.get();
  player_ = player.get();
  folder_ = folder.get();
  std::filesystem::create_directory(temp_.File("tmp"));
  folder_->folder = temp_.File("tmp/");
  services_.boxes = std::move(boxes);
  services_.dialogs = std::move(dialogs);
  services_.shell = std::move(shell);
  services_.deleter = std::move(deleter);
  services_.player = std::move(player);
  services_.temporary_folder = std::move(folder);
}

WindowTest::~WindowTest() {
  StopProbing();
  program_.reset();
}

void WindowTest::Start(const QStringList& arguments) {
  program_ = std::make_unique<Program>(services_, arguments);
  Form().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
  ActivateWindow();
}

void WindowTest::ActivateWindow() {
  Form().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
}

std::string WindowTest::WriteSource(const std::string& name, const SourceBuilder& source) {
  const std::string path = temp_.File(name);
  rsf::test::WriteWholeFile(path, source.Bytes());
  return path;
}

void WindowTest::ScanFile(const std::string& path) {
  Form().edtSourceFile->setText(QString::fromStdString(path));
  Form().StartAnalysis->trigger();
}

QStringList WindowTest::ListLines() const {
  QStringList lines;
  for (int i = 0; i < program_->MainForm().rzFoundClips->count(); ++i)
    lines.push_back(program_->MainForm().rzFoundClips->item(i)->text());
  return lines;
}

QStringList WindowTest::PaneLines() const { return program_->MainForm().Memo1->toPlainText().split(QLatin1Char('\n')); }

QString WindowTest::Panel(int panel) const { return program_->MainForm().stbarMain->Text(panel); }

void WindowTest::ClickEntry(int entry) {
  CheckListBox* list = Form().rzFoundClips;
  const QRect place = list->visualItemRect(list->item(entry));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(place.right() - 10, place.center().y()));
}

void WindowTest::ProbeEvents(std::function<void()> probe) {
  StopProbing();
  probe_timer_ = new QTimer;
  probe_timer_->setInterval(0);
  QObject::connect(probe_timer_, &QTimer::timeout, std::move(probe));
  probe_timer_->start();
}

void WindowTest::StopProbing() {
  delete probe_timer_;
  probe_timer_ = nullptr;
}

}  // namespace rsf::ui::test
