// Source and target in the window: the browse commands and buttons, and files dropped on the
// window (several, with the option off, during a scan, long paths).
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "ui/widgets/check_list_box.h"
#include "ui/services/file_dialogs.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class SourceAndTarget : public WindowTest {
 protected:
  void SetUp() override { Start(); }
  // Drops `paths` on the window, or on one of its controls (`onto`).
  void Drop(const QStringList& paths, bool process = true, QWidget* onto = nullptr) {
    QWidget* target = onto != nullptr ? onto : static_cast<QWidget*>(&Form());
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) urls.push_back(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    // As the platform does it: the drag enters the window, then drops.
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    dropped_accepted_ = drop.isAccepted();
    if (process) QCoreApplication::processEvents();
  }
  bool dropped_accepted_ = false;
};

TEST_F(SourceAndTarget, OpenSourcePutsTheChosenPathIntoTheFieldAndScansNothing) {
  ScanFile(WriteSource("first.bin", SourceBuilder().Jpeg(10)));
  ASSERT_EQ(Form().rzFoundClips->count(), 1);

  dialogs_->open_answer = std::nullopt;
  Form().OpenSource->trigger();
  EXPECT_EQ(Form().rzFoundClips->count(), 1) << "a cancelled dialog changes nothing";

  dialogs_->open_answer = QStringLiteral("/媒体/源 文件.dat");
  QTest::mouseClick(Form().btnSourceBrowse, Qt::LeftButton);
  EXPECT_EQ(dialogs_->open_calls, 2);
  EXPECT_EQ(Form().edtSourceFile->text(), QStringLiteral("/媒体/源 文件.dat"));
  EXPECT_EQ(Form().rzFoundClips->count(), 0);
  EXPECT_TRUE(boxes_->shown.empty());
}

TEST(SourceDialog, OffersEveryFileFirstThenTheDiscImages) {
  EXPECT_EQ(ui::SourceDialogFilters(), QStringLiteral("所有文件 (*);;光盘映像 (*.cue *.bin *.img)"));
}

TEST_F(SourceAndTarget, SelectTargetPutsThePrefixOfTheChosenPathIntoTheField) {
  const QString before = Form().edtTargetFiles->text();
  dialogs_->save_answer = std::nullopt;
  Form().SelectTarget->trigger();
  EXPECT_EQ(Form().edtTargetFiles->text(), before);

  dialogs_->save_answer = QStringLiteral("/rips/中文目录/intro.avi");
  QTest::mouseClick(Form().btnTargetBrowse, Qt::LeftButton);
  EXPECT_EQ(Form().edtTargetFiles->text(), QStringLiteral("/rips/中文目录/intro"));
  dialogs_->save_answer = QStringLiteral("/rips/ending.");
  QTest::keyClick(&Form(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_EQ(Form().edtTargetFiles->text(), QStringLiteral("/rips/ending"));
  EXPECT_EQ(dialogs_->save_calls, 3);
}

TEST_F(SourceAndTarget, DropOfThreeFilesScansTheLastOnce) {
  const std::string one = WriteSource("one.bin", SourceBuilder().Jpeg(10));
  const std::string two = WriteSource("two.bin", SourceBuilder().Jpeg(10).Jpeg(20));
  const std::string three = WriteSource("three.bin", SourceBuilder().Jpeg(10).Jpeg(20).Jpeg(30));
  int sources_seen = 0;
  QObject::connect(Form().edtSourceFile, &QLineEdit::textChanged, [&] { ++sources_seen; });
  int scans = 0;
  ProbeEvents([&, was_busy = false]() mutable {
    if (Form().Busy() && !was_busy) ++scans;
    was_busy = Form().Busy();
  });
  Drop({QString::fromStdString(one), QString::fromStdString(two), QString::fromStdString(three)});
  StopProbing();

  EXPECT_TRUE(dropped_accepted_);
  EXPECT_EQ(sources_seen, 3);
  EXPECT_EQ(Form().edtSourceFile->text(), QString::fromStdString(three));
  EXPECT_EQ(scans, 1);
  EXPECT_EQ(Form().rzFoundClips->count(), 3);
  EXPECT_EQ(Form().rzFoundClips->Ticks(), std::vector<bool>(3, true));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The edit fields and the pane would take a dropped file's path as text; a drop anywhere on the
// window is the window's: the file becomes the source and is scanned.
TEST_F(SourceAndTarget, DropOntoAFieldOrThePaneIsADropOnTheWindow) {
  const std::string source = WriteSource("dropped.bin", SourceBuilder().Jpeg(10).Jpeg(20));
  const QString target = Form().edtTargetFiles->text();
  for (QWidget* onto : {static_cast<QWidget*>(Form().edtSourceFile), static_cast<QWidget*>(Form().edtTargetFiles),
                        Form().Memo1->viewport()}) {
    SCOPED_TRACE(onto->objectName().toStdString());
    Form().edtSourceFile->setText(QStringLiteral("<源文件>"));
    Drop({QString::fromStdString(source)}, true, onto);
    EXPECT_TRUE(dropped_accepted_);
    EXPECT_EQ(Form().edtSourceFile->text(), QString::fromStdString(source));
    EXPECT_EQ(Form().edtTargetFiles->text(), target);
    EXPECT_EQ(Form().rzFoundClips->count(), 2);
  }
}

TEST_F(SourceAndTarget, DropWithTheOptionOffOnlyFillsTheFieldAndEmptiesTheList) {
  ScanFile(WriteSource("first.bin", SourceBuilder().Jpeg(10).Jpeg(20)));
  const SourceStream* scanned = Form().Engine().Source();
  Form().StartAnalysisonDragDrop1->trigger();
  ASSERT_FALSE(Form().StartAnalysisonDragDrop1->isChecked());

  const std::string other = WriteSource("other.bin", SourceBuilder().Jpeg(10));
  Drop({QString::fromStdString(other)});
  EXPECT_EQ(Form().edtSourceFile->text(), QString::fromStdString(other));
  EXPECT_EQ(Form().rzFoundClips->count(), 0);
  EXPECT_EQ(Form().Engine().Source(), scanned);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SourceAndTarget, DropDuringAScanIsIgnored) {
  const std::string path = WriteSource("ten.bin", TenJpegs());
  const std::string other = WriteSource("other.bin", SourceBuilder().Jpeg(10));
  bool dropped = false;
  ProbeEvents([&] {
    if (!Form().Busy() || dropped) return;
    dropped = true;
    Drop({QString::fromStdString(other)});
    // A drop handed on just before the scan began is refused as well.
    Form().WMDropFiles({QString::fromStdString(other)});
  });
  ScanFile(path);
  StopProbing();
  QCoreApplication::processEvents();

  ASSERT_TRUE(dropped);
  EXPECT_FALSE(dropped_accepted_);
  EXPECT_EQ(Form().edtSourceFile->text(), QString::fromStdString(path));
  EXPECT_EQ(Form().rzFoundClips->count(), 10);
  EXPECT_EQ(Form().rzFoundClips->Ticks(), std::vector<bool>(10, true));
}

TEST_F(SourceAndTarget, DroppedPathsOfAnyLengthAreTaken) {
  std::string folder = temp_.path();
  while (folder.size() < 400) folder += "/一个很长很长的文件夹名称";
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/源.bin";
  rsf::test::WriteWholeFile(path, SourceBuilder().Jpeg(10).Bytes());
  Drop({QString::fromStdString(path)});
  EXPECT_EQ(Form().edtSourceFile->text(), QString::fromStdString(path));
  EXPECT_EQ(Form().rzFoundClips->count(), 1);
  EXPECT_TRUE(boxes_->shown.empty());
}

TEST_F(SourceAndTarget, DropOfAFolderFailsAtOpeningAndGivesTheCursorBack) {
  Drop({QString::fromStdString(temp_.path())});
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kStop);
  EXPECT_TRUE(boxes_->shown[0].text.startsWith(QStringLiteral("不能打开文件 ")));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(Form().Busy());
}

TEST_F(SourceAndTarget, DropsWithoutLocalFilesAndDropsWhileTurnedOffAreRefused) {
  const QString before = Form().edtSourceFile->text();
  auto data = std::make_unique<QMimeData>();
  data->setUrls({QUrl(QStringLiteral("https://example.org/clip.avi"))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&Form(), &enter);
  EXPECT_FALSE(enter.isAccepted());
  QDropEvent web(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&Form(), &web);
  QCoreApplication::processEvents();
  EXPECT_EQ(Form().edtSourceFile->text(), before);

  Form().ShowCdMode(true);  // CD mode turns drops off, and file mode on again
  EXPECT_FALSE(Form().acceptDrops());
  Form().ShowCdMode(false);
  EXPECT_TRUE(Form().acceptDrops());
}

}  // namespace
}  // namespace rsf::ui::test
