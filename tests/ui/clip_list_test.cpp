// The clip list and information pane: clicks with and without information text, arrow keys,
// ticking all and none, tab stops that follow the header, the pop-up menu and double-click,
// and a change of the source emptying the list while the pane keeps its text.
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <functional>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "ui/widgets/check_list_box.h"
#include "ui/widgets/header_control.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class ClipList : public WindowTest {
 protected:
  // A WAVE file at 1000 (with information text), then two JPEG images (without). All lie in
  // one scan window, where WAVE files are listed before JPEG images.
  void SetUp() override {
    Start();
    source_.Filler(1000).Wave(4000).Filler(500).Jpeg(3000).Filler(300).Jpeg(100).Filler(200);
    ScanFile(WriteSource("three.bin", source_));
    ASSERT_EQ(Form().rzFoundClips->count(), 3);
  }
  QStringList OffsetLines(int clip) const {
    const auto& placed = source_.Clips()[static_cast<std::size_t>(clip)];
    return {QStringLiteral("起始偏移量   : %1").arg(placed.start), QStringLiteral("结束偏移量   : %1").arg(placed.end),
            QStringLiteral("大小         : %1").arg(placed.end - placed.start)};
  }
  SourceBuilder source_;
};

TEST_F(ClipList, ClickOnAClipWithoutInformationShowsAnEmptyLineThenItsOffsets) {
  ClickEntry(1);
  EXPECT_EQ(Form().rzFoundClips->SelectedEntry(), 1);
  EXPECT_EQ(PaneLines(), QStringList{QString()} + OffsetLines(1));
}

TEST_F(ClipList, ClickOnAClipWithInformationShowsItsTextLinesThenItsOffsets) {
  ClickEntry(0);
  const std::string& info = Form().Engine().Catalogue()[0].InfoText;
  ASSERT_FALSE(info.empty());
  const QStringList info_lines = QString::fromStdString(info).split(QStringLiteral("\r\n"));
  EXPECT_GE(info_lines.size(), 2);
  EXPECT_EQ(PaneLines(), info_lines + OffsetLines(0));
  EXPECT_EQ(OffsetLines(0).front(), QStringLiteral("起始偏移量   : 1000"));
  EXPECT_FALSE(Form().Memo1->toPlainText().contains(QLatin1Char('\r')));
}

TEST_F(ClipList, ArrowKeysMoveTheSelectionAndFillThePaneLikeAClick) {
  ClickEntry(0);
  Form().rzFoundClips->setFocus();
  QTest::keyClick(Form().rzFoundClips, Qt::Key_Down);
  EXPECT_EQ(Form().rzFoundClips->SelectedEntry(), 1);
  EXPECT_EQ(PaneLines().mid(PaneLines().size() - 3), OffsetLines(1));
  QTest::keyClick(Form().rzFoundClips, Qt::Key_Down);
  EXPECT_EQ(PaneLines(), QStringList{QString()} + OffsetLines(2));
  QTest::keyClick(Form().rzFoundClips, Qt::Key_Up);
  EXPECT_EQ(PaneLines().mid(PaneLines().size() - 3), OffsetLines(1));

  // A key that moves nothing leaves the pane as it is.
  Form().Memo1->setPlainText(QStringLiteral("untouched"));
  QTest::keyClick(Form().rzFoundClips, Qt::Key_Up);
  QTest::keyClick(Form().rzFoundClips, Qt::Key_Up);
  EXPECT_EQ(Form().rzFoundClips->SelectedEntry(), 0);
  QTest::keyClick(Form().rzFoundClips, Qt::Key_Up);
  EXPECT_EQ(PaneLines().mid(PaneLines().size() - 3), OffsetLines(0));
}

TEST_F(ClipList, UntickAllThenTickAllRestoresEveryTickAndLeavesSelectionAndPane) {
  ClickEntry(2);
  const QString pane = Form().Memo1->toPlainText();
  EXPECT_EQ(Form().rzFoundClips->Ticks(), std::vector<bool>(3, true));

  Form().UnSelectAll->trigger();
  EXPECT_EQ(Form().rzFoundClips->Ticks(), std::vector<bool>(3, false));
  EXPECT_EQ(Form().rzFoundClips->SelectedEntry(), 2);
  EXPECT_EQ(Form().Memo1->toPlainText(), pane);

  Form().SelectAll->trigger();
  EXPECT_EQ(Form().rzFoundClips->Ticks(), std::vector<bool>(3, true));
  EXPECT_EQ(Form().rzFoundClips->SelectedEntry(), 2);
  EXPECT_EQ(Form().Memo1->toPlainText(), pane);
}

TEST_F(ClipList, TickBoxesHaveTwoStatesAndToggleWithTheSpaceKey) {
  QListWidgetItem* entry = Form().rzFoundClips->item(0);
  EXPECT_FALSE(entry->flags() & Qt::ItemIsUserTristate);
  EXPECT_EQ(Form().rzFoundClips->visualItemRect(entry).height(), 15);
  ClickEntry(0);
  QTest::keyClick(Form().rzFoundClips, Qt::Key_Space);
  EXPECT_EQ(entry->checkState(), Qt::Unchecked);
  QTest::keyClick(Form().rzFoundClips, Qt::Key_Space);
  EXPECT_EQ(entry->checkState(), Qt::Checked);
}

// Columns of entry `entry` of the list, as painted, that hold any dark pixel.
std::vector<bool> InkColumns(CheckListBox& list, int entry) {
  const QImage shot = list.viewport()->grab().toImage();
  const QRect row = list.visualItemRect(list.item(entry));
  std::vector<bool> ink(static_cast<std::size_t>(shot.width()), false);
  for (int x = 0; x < shot.width(); ++x)
    for (int y = row.top(); y <= row.bottom(); ++y)
      if (qGray(shot.pixel(x, y)) < 128) ink[static_cast<std::size_t>(x)] = true;
  return ink;
}

// True when a column of text starts within a few pixels right of `x`, with blank space before.
bool ColumnStartsAt(const std::vector<bool>& ink, int x) {
  for (int i = x - 6; i < x; ++i)
    if (ink.at(static_cast<std::size_t>(i))) return false;
  for (int i = x; i <= x + 4; ++i)
    if (ink.at(static_cast<std::size_t>(i))) return true;
  return false;
}

TEST_F(ClipList, TabStopsSitJustPastTheHeaderDividersAndFollowThemAtOnce) {
  CheckListBox* list = Form().rzFoundClips;
  HeaderControl* header = Form().HeaderControl1;
  // At the drawn size the sections have their drawn widths.
  EXPECT_EQ(header->SectionWidth(0), 80);
  EXPECT_EQ(header->SectionWidth(1), 100);
  EXPECT_EQ(header->SectionWidth(2), 80);
  const std::vector<int> stops = list->TabStops();
  ASSERT_EQ(stops.size(), 5u);
  EXPECT_EQ(stops[0], 80 + 4);
  EXPECT_EQ(stops[1], 180 + 4);
  EXPECT_EQ(stops[2], 260 + 4);
  std::vector<bool> ink = InkColumns(*list, 0);
  EXPECT_TRUE(ColumnStartsAt(ink, 84)) << "type column under \"类型\"";
  EXPECT_TRUE(ColumnStartsAt(ink, 184)) << "size column under \"大小\"";

  // A wider window spreads the columns over the room in their proportions; the text follows.
  Form().resize(900, Form().height());
  QCoreApplication::processEvents();
  const int first = header->SectionWidth(0), second = header->SectionWidth(1);
  EXPECT_GT(first, 100);
  EXPECT_NEAR(second * 80.0 / first, 100.0, 2.0);
  EXPECT_GE(first + second + header->SectionWidth(2), header->width());
  EXPECT_EQ(list->TabStops()[0], first + 4);
  EXPECT_EQ(list->TabStops()[1], first + second + 4);
  ink = InkColumns(*list, 0);
  EXPECT_TRUE(ColumnStartsAt(ink, first + 4));
  EXPECT_TRUE(ColumnStartsAt(ink, first + second + 4));

  // Dragging the divider after "类型" moves the size column right away, without a new scan.
  header->resizeSection(1, 150);
  EXPECT_EQ(list->TabStops()[0], first + 4);
  EXPECT_EQ(list->TabStops()[1], first + 150 + 4);
  EXPECT_EQ(list->TabStops()[3], stops[3]) << "stops beyond the header keep their values";
  EXPECT_EQ(list->TabStops()[4], stops[4]);
  ink = InkColumns(*list, 0);
  EXPECT_TRUE(ColumnStartsAt(ink, first + 4));
  EXPECT_TRUE(ColumnStartsAt(ink, first + 150 + 4));

  // A new scan takes the stops from the header as it now is.
  Form().StartAnalysis->trigger();
  QCoreApplication::processEvents();  // the list lays its new entries out
  EXPECT_EQ(list->TabStops()[1], first + 150 + 4);
  EXPECT_TRUE(ColumnStartsAt(InkColumns(*list, 2), first + 150 + 4));
}

// The pane shows an entry of the list; whatever empties the list empties the pane with it:
// a change of the source field, a new scan (also of an empty file), another drive.
TEST_F(ClipList, EveryEmptyingOfTheListEmptiesThePane) {
  const std::string empty = WriteSource("empty.bin", SourceBuilder());
  const std::vector<std::function<void()>> emptyings = {
      [&] {
        Form().edtSourceFile->setFocus();
        Form().edtSourceFile->end(false);
        QTest::keyClick(Form().edtSourceFile, Qt::Key_X);
      },
      [&] { ScanFile(WriteSource("three.bin", source_)); },
      [&] { ScanFile(empty); },
      [&] { Form().comboCDDRIVESChange(); },
  };
  for (std::size_t i = 0; i < emptyings.size(); ++i) {
    SCOPED_TRACE(i);
    if (Form().rzFoundClips->count() == 0) ScanFile(WriteSource("three.bin", source_));
    ClickEntry(1);
    ASSERT_FALSE(Form().Memo1->toPlainText().isEmpty());
    emptyings[i]();
    EXPECT_TRUE(Form().Memo1->toPlainText().isEmpty());
    if (i == 0) {
      EXPECT_EQ(Form().rzFoundClips->count(), 0);
      EXPECT_EQ(Form().Engine().Catalogue().size(), 3u) << "the catalogue waits for the next scan";
      Form().SaveClips->trigger();
      ASSERT_EQ(boxes_->shown.size(), 1u);
      EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("你没有选择任何剪辑 !"));
    }
  }
}

// A right-click on an entry selects it and shows it in the pane before the menu opens.
TEST_F(ClipList, RightClickSelectsTheEntryAndShowsIt) {
  CheckListBox* list = Form().rzFoundClips;
  const QRect place = list->visualItemRect(list->item(2));
  QContextMenuEvent menu(QContextMenuEvent::Mouse, place.center(), list->viewport()->mapToGlobal(place.center()));
  QCoreApplication::sendEvent(list->viewport(), &menu);
  EXPECT_EQ(list->SelectedEntry(), 2);
  EXPECT_TRUE(Form().Memo1->toPlainText().endsWith(OffsetLines(2).back())) << Form().Memo1->toPlainText().toStdString();
  Form().popupClips->close();
}

TEST_F(ClipList, DoubleClickAndPlayStartPlayback) {
  int plays = 0;
  player_->on_close = [&] { ++plays; };  // every playback first closes the last device
  CheckListBox* list = Form().rzFoundClips;
  const QRect place = list->visualItemRect(list->item(1));
  const QPoint on_text(place.right() - 10, place.center().y());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, on_text);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, on_text);
  QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, on_text);
  EXPECT_EQ(plays, 1);
  Form().Play->trigger();
  EXPECT_EQ(plays, 2);
  EXPECT_EQ(Form().rzFoundClips->Ticks(), std::vector<bool>(3, true)) << "double-click on the text ticks nothing";
}

}  // namespace
}  // namespace rsf::ui::test
