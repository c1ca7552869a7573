// Scanning from the window: list and catalogue filled in step, every entry ticked at the end,
// status texts and gauge, the busy state and its release after errors, refused second starts
// by every route, the no-disc warning, and closing the window in the middle of a scan.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <filesystem>

#include "scan/catalogue/clip_catalogue.h"
#include "stream/memory_stream.h"
#include "synth/cd_sector_synth.h"
#include "ui/widgets/check_list_box.h"
#include "ui/widgets/gauge.h"
#include "ui/widgets/status_panels.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class WindowScan : public WindowTest {
 protected:
  void SetUp() override { Start(); }

  bool ShowsBusyState() {
    TfrmMainForm& f = Form();
    bool menus_off = true;
    for (QMenu* menu : {f.File1, f.Clips1, f.Target1, f.View1, f.BETA1, f.N1, f.BETA2})
      menus_off = menus_off && !menu->menuAction()->isEnabled();
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor && !f.panelMain->isEnabled() &&
           !f.tlbarMain->isEnabled() && menus_off;
  }
  bool ShowsIdleState() {
    TfrmMainForm& f = Form();
    bool menus_on = true;
    for (QMenu* menu : {f.File1, f.Clips1, f.Target1, f.View1, f.BETA1, f.N1, f.BETA2})
      menus_on = menus_on && menu->menuAction()->isEnabled();
    return QApplication::overrideCursor() == nullptr && f.panelMain->isEnabled() && f.tlbarMain->isEnabled() &&
           menus_on && !f.Busy();
  }
  int TickedCount() {
    int ticked = 0;
    for (bool tick : Form().rzFoundClips->Ticks()) ticked += tick;
    return ticked;
  }
};

TEST_F(WindowScan, FillsListAndCatalogueInStepAndTicksEveryEntryAtTheEnd) {
  const SourceBuilder source = TenJpegs();
  const std::string path = WriteSource("ten.bin", source);
  const auto size = static_cast<std::int64_t>(source.Bytes().size());
  // Every window takes 100 ms of the pacing clock: each gets its round of events.
  double now = 0;
  Form().SetPacingClock([&] { return now += 0.1; });
  std::vector<int> counts;
  std::vector<std::int64_t> progress;
  ProbeEvents([&] {
    if (!Form().Busy()) return;
    EXPECT_EQ(static_cast<std::size_t>(Form().rzFoundClips->count()), Form().Engine().Catalogue().size());
    EXPECT_EQ(TickedCount(), 0);
    EXPECT_TRUE(ShowsBusyState());
    EXPECT_EQ(Form().Gauge1->Maximum(), size);
    EXPECT_EQ(Panel(1), QStringLiteral("正在分析..."));
    EXPECT_TRUE(Panel(2).startsWith(QStringLiteral("使用时间: "))) << Panel(2).toStdString();
    EXPECT_TRUE(Panel(3).startsWith(QStringLiteral("剩余: "))) << Panel(3).toStdString();
    counts.push_back(Form().rzFoundClips->count());
    progress.push_back(Form().Gauge1->Progress());
  });
  ScanFile(path);
  StopProbing();

  ASSERT_GE(counts.size(), 4u) << "one round of events per window";
  EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
  EXPECT_LT(counts.front(), 10);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_GT(progress.back(), 0);

  ASSERT_EQ(Form().Engine().Catalogue().size(), 10u);
  QStringList expected;
  for (std::size_t i = 0; i < 10; ++i) {
    const TFilestruct& clip = Form().Engine().Catalogue()[i];
    EXPECT_EQ(clip.StartOffset, source.Clips()[i].start);
    EXPECT_EQ(clip.EndOffset, source.Clips()[i].end);
    expected.push_back(QStringLiteral("文件 #%1\tJPEG 图片\t%2 KByte").arg(i + 1).arg((clip.EndOffset - clip.StartOffset) / 1024));
  }
  EXPECT_EQ(ListLines(), expected);
  EXPECT_EQ(TickedCount(), 10);
  EXPECT_EQ(Panel(1), QStringLiteral("分析完成。错误 : 0"));
  EXPECT_EQ(Form().Gauge1->Progress(), 0);
  EXPECT_TRUE(ShowsIdleState());
  EXPECT_TRUE(boxes_->shown.empty());
}

// A scan of 67 windows, each taking `seconds_per_window` on the pacing clock: event rounds and
// full repaints at most twenty a second, but a window that takes longer still gets its round.
class PacedScan : public WindowTest, public ::testing::WithParamInterface<double> {};

TEST_P(PacedScan, RepaintsAndEventRoundsAreBoundedButEveryLongWindowGetsItsRound) {
  Start();
  const double seconds_per_window = GetParam();
  const std::string path = WriteSource("zeros.bin", SourceBuilder().Filler(67 * 63448 - 100));
  Form().SetPacingClock([&] { return Form().Gauge1->Progress() / 63448.0 * seconds_per_window; });
  int rounds = 0;
  ProbeEvents([&] { rounds += Form().Busy(); });
  struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      paints += event->type() == QEvent::Paint;
      return false;
    }
  } counter;
  Form().panelMain->installEventFilter(&counter);
  ScanFile(path);
  StopProbing();
  const double scan_seconds = 67 * seconds_per_window;
  if (seconds_per_window >= desktop::kScanEventInterval) {
    EXPECT_EQ(rounds, 67) << "one round per window";
  } else {
    const int most = static_cast<int>(scan_seconds / desktop::kScanEventInterval) + 2;
    EXPECT_LE(rounds, most);
    EXPECT_GE(rounds, most - 4) << "but no fewer than one every 50 ms";
    EXPECT_LE(counter.paints, 2 * most + 4);
  }
  EXPECT_EQ(Panel(1), QStringLiteral("分析完成。错误 : 0"));
}

INSTANTIATE_TEST_SUITE_P(WindowTimes, PacedScan, ::testing::Values(0.001, 0.01, 0.2));

// A source longer than the read-ahead reaches before the first round of events, so that
// the scan still has windows to read after it shrinks.
SourceBuilder LongerThanTheReadAhead() {
  SourceBuilder source = TenJpegs();
  source.Filler(2'000'000);
  return source;
}

TEST_F(WindowScan, ReadErrorEndsTheRunGivesTheWindowBackAndShowsTheStopBox) {
  const std::string path = WriteSource("shrinking.bin", LongerThanTheReadAhead());
  bool truncated = false;
  ProbeEvents([&] {
    if (!Form().Busy() || truncated) return;
    truncated = true;
    std::filesystem::resize_file(path, 70000);  // the next window's read comes back short
  });
  ScanFile(path);
  StopProbing();

  ASSERT_TRUE(truncated);
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kStop);
  EXPECT_EQ(boxes_->shown[0].caption, QStringLiteral("MALDORAN RSF-Extractor V 1.3 Beta 1"));
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("数据流读取错误."));
  EXPECT_TRUE(ShowsIdleState());
  EXPECT_EQ(TickedCount(), 0) << "no end-of-run steps after an error";
  EXPECT_NE(Panel(1), QStringLiteral("分析完成。错误 : 0"));
  EXPECT_EQ(Form().Gauge1->Progress(), 0);

  // The window works again: the next scan runs to its end.
  ScanFile(WriteSource("whole.bin", SourceBuilder().Filler(10).Jpeg(100)));
  EXPECT_EQ(Form().rzFoundClips->count(), 1);
  EXPECT_EQ(TickedCount(), 1);
}

// A cue sheet in the source field is read as the disc: the clips of its data track, and the
// status bar (whose hint holds what the panel cannot show) says which tracks were read.
TEST_F(WindowScan, DiscImageSheetsAreReadAsTheDiscAndSayWhichTracks) {
  const SourceBuilder data = SourceBuilder().Filler(3).Jpeg(9000).Filler(2);
  WriteSource("disc.bin", SourceBuilder().Add(synth::RawDataTrack(data.Bytes())));
  const std::string sheet = synth::MixedModeCueSheet("disc.bin", "MODE1/2352", {});
  ScanFile(WriteSource("disc.cue", SourceBuilder().Add(std::vector<std::uint8_t>(sheet.begin(), sheet.end()))));

  ASSERT_EQ(Form().Engine().Catalogue().size(), 1u);
  EXPECT_EQ(Form().Engine().Catalogue()[0].StartOffset, data.Clips()[0].start) << "an offset of the data track";
  const QString finished = QStringLiteral("分析完成。错误 : 0。已读轨道 : 1 (MODE1/2352, %1 扇区)")
                               .arg((data.Bytes().size() + 2047) / 2048);
  EXPECT_EQ(Panel(1), finished);
  EXPECT_EQ(Form().stbarMain->Hint(1), finished);
}

TEST_F(WindowScan, IgnoredReadErrorsAreCountedInTheCompletionText) {
  const std::string path = WriteSource("shrinking.bin", LongerThanTheReadAhead());
  Form().Ignorereaderrors1->trigger();
  bool truncated = false;
  ProbeEvents([&] {
    if (!Form().Busy() || truncated) return;
    truncated = true;
    std::filesystem::resize_file(path, 70000);
  });
  ScanFile(path);
  StopProbing();

  EXPECT_TRUE(boxes_->shown.empty());
  EXPECT_TRUE(Panel(1).startsWith(QStringLiteral("分析完成。错误 : ")));
  EXPECT_GE(Form().Engine().ReadErrorCount(), 1);
  EXPECT_EQ(Panel(1), QStringLiteral("分析完成。错误 : %1").arg(Form().Engine().ReadErrorCount()));
  EXPECT_TRUE(ShowsIdleState());
}

TEST_F(WindowScan, SourceThatCannotBeOpenedIsReportedAndNothingTurnsBusy) {
  bool ever_busy = false;
  ProbeEvents([&] { ever_busy = ever_busy || Form().Busy(); });
  const std::string missing = temp_.File("no such file.bin");
  ScanFile(missing);
  StopProbing();

  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kStop);
  EXPECT_TRUE(boxes_->shown[0].text.startsWith(QString::fromStdString("不能打开文件 " + missing + "\n")));
  EXPECT_FALSE(ever_busy);
  EXPECT_TRUE(ShowsIdleState());
  EXPECT_EQ(Panel(1), QStringLiteral("空闲"));
}

class NoDiscStream final : public MemoryStream {
 public:
  NoDiscStream() : MemoryStream({}) {}
  std::int64_t Size() const override { return -1; }
};

TEST_F(WindowScan, NegativeSourceSizeWarnsAndKeepsListAndCatalogue) {
  ScanFile(WriteSource("two.bin", SourceBuilder().Filler(10).Jpeg(100).Filler(10).Jpeg(200)));
  ASSERT_EQ(Form().rzFoundClips->count(), 2);

  Form().Presenter().Command([this] { Form().Presenter().StartAnalysis([] { return std::make_unique<NoDiscStream>(); }); });

  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes_->shown[0].caption, QStringLiteral("警告"));
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("错误访问 CD - 在驱动器中有光盘吗?"));
  EXPECT_EQ(Form().rzFoundClips->count(), 2);
  EXPECT_EQ(Form().Engine().Catalogue().size(), 2u);
  EXPECT_TRUE(ShowsIdleState());
}

TEST_F(WindowScan, NoSecondScanExtractionOrPlaybackStartsDuringAScan) {
  const std::string path = WriteSource("ten.bin", TenJpegs());
  std::filesystem::create_directory(temp_.File("out"));
  Form().edtTargetFiles->setText(QString::fromStdString(temp_.File("out/Clip")));
  dialogs_->open_answer = QStringLiteral("/elsewhere/other.bin");
  bool tried = false;
  ProbeEvents([&] {
    if (!Form().Busy() || tried || Form().rzFoundClips->count() == 0) return;
    tried = true;
    const int listed = Form().rzFoundClips->count();
    Form().StartAnalysis->trigger();
    QTest::keyClick(&Form(), Qt::Key_A, Qt::ControlModifier);
    Form().SaveClips->trigger();
    QTest::keyClick(&Form(), Qt::Key_S, Qt::ControlModifier);
    Form().Play->trigger();
    emit Form().rzFoundClips->itemDoubleClicked(Form().rzFoundClips->item(0));
    Form().OpenSource->trigger();
    QTest::keyClick(&Form(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Form().rzFoundClips->count(), listed) << "a second scan emptied the list";
    EXPECT_TRUE(Form().Busy());
  });
  ScanFile(path);
  StopProbing();

  ASSERT_TRUE(tried);
  EXPECT_TRUE(player_->calls.empty());
  EXPECT_TRUE(Form().TemporaryFiles().empty());
  EXPECT_EQ(dialogs_->open_calls, 0);
  EXPECT_TRUE(boxes_->shown.empty());
  EXPECT_TRUE(std::filesystem::is_empty(temp_.File("out")));
  EXPECT_EQ(Form().edtSourceFile->text(), QString::fromStdString(path));
  EXPECT_EQ(Form().rzFoundClips->count(), 10);
  EXPECT_EQ(TickedCount(), 10);
  EXPECT_EQ(Panel(1), QStringLiteral("分析完成。错误 : 0"));
}

TEST_F(WindowScan, ShortcutStartsAScanEvenWhileTheSourceFieldHasTheFocus) {
  Form().edtSourceFile->setText(QString::fromStdString(WriteSource("one.bin", SourceBuilder().Filler(50).Jpeg(500))));
  Form().edtSourceFile->setFocus();
  QTest::keyClick(Form().edtSourceFile, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Form().rzFoundClips->count(), 1);
  EXPECT_EQ(Panel(1), QStringLiteral("分析完成。错误 : 0"));
}

TEST_F(WindowScan, ClosingTheWindowDuringAScanEndsItAtTheNextWindow) {
  const std::string path = WriteSource("ten.bin", TenJpegs());
  const std::string copy = temp_.File("RSFtmp00A1.avi");
  Form().TemporaryFiles().push_back(copy);
  std::size_t found_at_close = 0;
  bool closed = false;
  ProbeEvents([&] {
    if (!Form().Busy() || closed || Form().rzFoundClips->count() == 0) return;
    closed = true;
    found_at_close = Form().Engine().Catalogue().size();
    Form().close();
  });
  ScanFile(path);
  StopProbing();

  ASSERT_TRUE(closed);
  EXPECT_FALSE(Form().isVisible());
  EXPECT_EQ(deleter_->attempts, std::vector<std::string>{copy});
  EXPECT_EQ(Form().Engine().Catalogue().size(), found_at_close);
  EXPECT_LT(found_at_close, 10u);
  EXPECT_EQ(static_cast<std::size_t>(Form().rzFoundClips->count()), found_at_close);
  EXPECT_EQ(TickedCount(), 0);
  EXPECT_EQ(Panel(1), QStringLiteral("正在分析..."));
  EXPECT_TRUE(ShowsIdleState());
  EXPECT_TRUE(boxes_->shown.empty());
}

}  // namespace
}  // namespace rsf::ui::test
