// The commands of the desktop core against a recording main view, without any toolkit: the
// scan (list and ticks, status panels and gauge, pacing, the ends of a run: finished, stopped
// with Esc, closed, failed, no disc), the option state it reads, and extraction with its boxes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "desktop_doubles.h"
#include "desktop/window_texts.h"
#include "scan/extraction/extraction.h"

namespace rsf::desktop {
namespace {

using test::Bitmaps;

ScanEngine::SourceOpener Opener(std::vector<std::uint8_t> bytes) {
  return [bytes] { return std::make_unique<MemoryStream>(bytes); };
}

// Four bitmaps whose source cannot be read in its third window (after the first two clips).
ScanEngine::SourceOpener FailingInTheThirdWindow() {
  return [bytes = Bitmaps(4)] {
    auto stream = std::make_unique<rsf::test::FailingStream>(bytes);
    stream->FailRange(130000, 130001);
    return std::unique_ptr<SourceStream>(std::move(stream));
  };
}

class Presenter : public test::PresenterTest {};

TEST_F(Presenter, ListsEveryClipTicksThemAtTheEndAndGivesTheWindowBack) {
  presenter.StartAnalysis(Opener(Bitmaps(5)));
  EXPECT_EQ(view.lines.size(), 5u);
  EXPECT_EQ(view.lines.size(), presenter.Engine().Catalogue().size());
  EXPECT_TRUE(view.ticked);
  EXPECT_EQ(view.busy_changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(view.status[kStatusPanelActivity], "分析完成。错误 : 0");
  EXPECT_EQ(view.gauge, 0);
  EXPECT_GT(view.event_rounds, 0);
  EXPECT_TRUE(boxes.shown.empty());
}

// The ticks are read when the scan starts: what the user unticks is not scanned for.
TEST_F(Presenter, ScansForTheTypesTickedAndTheModeChosen) {
  presenter.Options().Tick(ClipKind::kBMP, false);
  presenter.StartAnalysis(Opener(Bitmaps(3)));
  EXPECT_TRUE(view.lines.empty());
  presenter.Options().Tick(ClipKind::kBMP, true);
  presenter.Options().mp3_mode = true;
  presenter.StartAnalysis(Opener(Bitmaps(3)));
  EXPECT_TRUE(view.lines.empty()) << "MP3 mode ignores the check boxes";
  presenter.Options().mp3_mode = false;
  presenter.StartAnalysis(Opener(Bitmaps(3)));
  EXPECT_EQ(view.lines.size(), 3u);
}

TEST_F(Presenter, EscStopsTheScanKeepsWhatItFoundTickedAndSaysSo) {
  view.on_events = [&] {
    if (presenter.Engine().Catalogue().size() == 2) presenter.StopScan();
  };
  presenter.StartAnalysis(Opener(Bitmaps(6)));
  EXPECT_GE(view.lines.size(), 2u);
  EXPECT_LT(view.lines.size(), 6u);
  EXPECT_TRUE(view.ticked);
  EXPECT_FALSE(view.busy);
  EXPECT_EQ(view.gauge, 0);
  EXPECT_EQ(view.status[kStatusPanelActivity], std::string(kStatusScanStopped) + "0");
  // The next scan runs to the end again.
  view.on_events = nullptr;
  presenter.StartAnalysis(Opener(Bitmaps(6)));
  EXPECT_EQ(view.lines.size(), 6u);
}

TEST_F(Presenter, ClosingDuringAScanEndsItWithoutTicking) {
  view.on_events = [&] { view.closing = presenter.Engine().Catalogue().size() >= 1; };
  presenter.StartAnalysis(Opener(Bitmaps(6)));
  EXPECT_LT(view.lines.size(), 6u);
  EXPECT_FALSE(view.ticked);
  EXPECT_FALSE(view.busy);
}

TEST_F(Presenter, StopOutsideAScanDoesNothing) {
  presenter.StopScan();
  presenter.StartAnalysis(Opener(Bitmaps(2)));
  EXPECT_EQ(view.lines.size(), 2u);
  EXPECT_EQ(view.status[kStatusPanelActivity], "分析完成。错误 : 0");
}

// A read error ends the run: the window is given back with the status idle and the gauge at
// 0, and the error goes on to the general error display.
TEST_F(Presenter, FailedScanEndsIdleWithTheGaugeAtZero) {
  EXPECT_THROW(presenter.StartAnalysis(FailingInTheThirdWindow()), Error);
  EXPECT_FALSE(view.busy);
  EXPECT_EQ(view.gauge, 0);
  EXPECT_EQ(view.status[kStatusPanelActivity], kStatusIdle);
  EXPECT_FALSE(view.ticked);
}

// A close the user asked for while a read held the window (a scratched CD sector) comes in
// with the events after the read returns: it is honoured, and no error box holds it up.
TEST_F(Presenter, CloseAskedDuringAFailingReadIsHonouredWithoutABox) {
  bool busy_at_close = false;
  view.on_events = [&] {
    if (presenter.Engine().Catalogue().size() < 2) return;
    view.closing = true;
    busy_at_close = view.busy;
  };
  presenter.SetPacingClock([] { return 0.0; });  // no paced round after the first: only the end's
  EXPECT_NO_THROW(presenter.StartAnalysis(FailingInTheThirdWindow()));
  EXPECT_TRUE(view.closing);
  EXPECT_TRUE(busy_at_close) << "the window was still busy, so the events ran no other command";
  EXPECT_FALSE(view.busy);
}

TEST_F(Presenter, SourceWithoutADiscIsAWarning) {
  class NoDisc final : public MemoryStream {
   public:
    NoDisc() : MemoryStream({}) {}
    std::int64_t Size() const override { return -1; }
  };
  presenter.StartAnalysis([] { return std::make_unique<NoDisc>(); });
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes.shown[0].caption, kWarningCaption);
  EXPECT_EQ(boxes.shown[0].text, kNoDiscWarning);
  EXPECT_TRUE(view.busy_changes.empty());
}

TEST_F(Presenter, NoSecondScanStartsDuringAScan) {
  int inner_runs = 0;
  view.on_events = [&] {
    presenter.StartAnalysis(Opener(Bitmaps(1)));
    ++inner_runs;
  };
  presenter.StartAnalysis(Opener(Bitmaps(3)));
  EXPECT_GT(inner_runs, 0);
  EXPECT_EQ(view.lines.size(), 3u) << "the inner starts were refused";
}

TEST_F(Presenter, ExtractionWritesTheTickedClipsAndSaysSoOrWarnsOfNothingTicked) {
  presenter.SaveClips();
  EXPECT_TRUE(boxes.shown.empty()) << "before a scan there is nothing to extract";

  rsf::test::TempDir dir;
  view.target = dir.File("Clip");
  presenter.StartAnalysis(Opener(Bitmaps(3)));
  presenter.UnSelectAll();
  presenter.SaveClips();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes.shown[0].text, kNothingTickedWarning);

  presenter.SelectAll();
  presenter.SaveClips();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].icon, BoxIcon::kInformation);
  EXPECT_EQ(boxes.shown[1].caption, kInformationCaption);
  EXPECT_EQ(boxes.shown[1].text, kExtractionDoneText);
  EXPECT_EQ(view.status[kStatusPanelActivity], kStatusIdle);
  EXPECT_EQ(view.gauge, 0);
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(std::filesystem::exists(dir.File("Clip" + std::to_string(i) + ".bmp"))) << i;
}

// A run that cannot write is over like a finished one; its error names the file.
TEST_F(Presenter, FailedExtractionEndsIdleWithTheGaugeAtZero) {
  presenter.StartAnalysis(Opener(Bitmaps(2)));
  view.target = "/nonexistent-folder-of-rsf-tests/Clip";
  EXPECT_THROW(presenter.SaveClips(), Error);
  EXPECT_EQ(view.status[kStatusPanelActivity], kStatusIdle);
  EXPECT_EQ(view.gauge, 0);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(WindowOptionsTest, StartAsTheWindowShowsThem) {
  const WindowOptions options;
  for (const ClipTypeRecord& type : ClipTypeTable())
    EXPECT_EQ(options.Ticked(type.kind), type.group == ClipTypeGroup::kClassic) << type.name;
  EXPECT_TRUE(options.start_analysis_on_drop);
  EXPECT_TRUE(options.internal_playback_first);
  EXPECT_FALSE(options.precise || options.mp3_mode || options.ignore_read_errors);
}

}  // namespace
}  // namespace rsf::desktop
