// Extraction from the window: ticked clips written under their list numbers with the status
// painted before each copy and the gauge counting, the warning when nothing is ticked, silence
// before any scan, and a missing target folder reported through the general error display.
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "ui/widgets/check_list_box.h"
#include "ui/widgets/gauge.h"
#include "ui/widgets/status_panels.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

// Records the text of a label each time it is painted.
class PaintRecorder final : public QObject {
 public:
  explicit PaintRecorder(QLabel* label) : label_(label) { label->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted.push_back(label_->text());
    return false;
  }
  QStringList painted;

 private:
  QLabel* label_;
};

class Extraction : public WindowTest {
 protected:
  void SetUp() override {
    Start();
    source_ = TenJpegs();
    ScanFile(WriteSource("ten.bin", source_));
    ASSERT_EQ(Form().rzFoundClips->count(), 10);
    std::filesystem::create_directory(temp_.File("out"));
    prefix_ = temp_.File("out/片段");
    Form().edtTargetFiles->setText(QString::fromStdString(prefix_));
  }
  std::vector<std::uint8_t> ClipBytes(std::size_t clip) const {
    const auto& placed = source_.Clips()[clip];
    return {source_.Bytes().begin() + placed.start, source_.Bytes().begin() + placed.end};
  }
  std::vector<std::string> Written() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temp_.File("out")))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  QLabel* ActivityPanel() { return Form().stbarMain->findChildren<QLabel*>()[1]; }

  SourceBuilder source_;
  std::string prefix_;
};

TEST_F(Extraction, TicksThreeAndSevenOfTenWriteExactlyThoseTwoFiles) {
  Form().UnSelectAll->trigger();
  Form().rzFoundClips->SetTicked(2, true);
  Form().rzFoundClips->SetTicked(6, true);
  PaintRecorder recorder(ActivityPanel());
  QString status_at_done;
  std::int64_t gauge_at_done = -1;
  std::int64_t gauge_maximum = -1;
  boxes_->on_show = [&](const ShownBox&) {
    status_at_done = Panel(1);
    gauge_at_done = Form().Gauge1->Progress();
    gauge_maximum = Form().Gauge1->Maximum();
  };
  Form().SaveClips->trigger();

  EXPECT_EQ(Written(), (std::vector<std::string>{"片段3.jpg", "片段7.jpg"}));
  EXPECT_EQ(rsf::test::ReadWholeFile(prefix_ + "3.jpg"), ClipBytes(2));
  EXPECT_EQ(rsf::test::ReadWholeFile(prefix_ + "7.jpg"), ClipBytes(6));
  const QString first = QString::fromStdString("正在提取 " + prefix_ + "3.jpg");
  const QString second = QString::fromStdString("正在提取 " + prefix_ + "7.jpg");
  EXPECT_TRUE(recorder.painted.contains(first)) << "painted before its copy";
  EXPECT_TRUE(recorder.painted.contains(second));
  EXPECT_LT(recorder.painted.indexOf(first), recorder.painted.indexOf(second));

  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kInformation);
  EXPECT_EQ(boxes_->shown[0].caption, QStringLiteral("信息"));
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("提取完成。"));
  EXPECT_EQ(status_at_done, second);
  EXPECT_EQ(gauge_maximum, 1);
  EXPECT_EQ(gauge_at_done, 1);
  EXPECT_EQ(Panel(1), QStringLiteral("空闲"));
  EXPECT_EQ(Form().Gauge1->Progress(), 0);
  EXPECT_EQ(Form().rzFoundClips->Ticks()[2], true) << "ticks stay";
}

TEST_F(Extraction, EveryEntryTickedWritesOneToTenAndReplacesEarlierFiles) {
  rsf::test::WriteWholeFile(prefix_ + "1.jpg", std::vector<std::uint8_t>(100000, 0xAB));
  QTest::keyClick(&Form(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Written().size(), 10u);
  for (std::size_t i = 0; i < 10; ++i)
    EXPECT_EQ(rsf::test::ReadWholeFile(prefix_ + std::to_string(i + 1) + ".jpg"), ClipBytes(i)) << i;
  EXPECT_EQ(boxes_->shown.back().text, QStringLiteral("提取完成。"));
}

TEST_F(Extraction, NothingTickedWarnsAndLeavesStatusAndGauge) {
  Form().UnSelectAll->trigger();
  Form().Gauge1->SetProgress(7);
  const QString status = Panel(1);
  Form().SaveClips->trigger();
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes_->shown[0].caption, QStringLiteral("警告"));
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("你没有选择任何剪辑 !"));
  EXPECT_EQ(Panel(1), status);
  EXPECT_EQ(Form().Gauge1->Progress(), 7);
  EXPECT_TRUE(Written().empty());
}

TEST_F(Extraction, MissingTargetFolderStopsAtTheFirstClipWithTheCreateError) {
  const std::string missing = temp_.File("no folder/Clip");
  Form().edtTargetFiles->setText(QString::fromStdString(missing));
  Form().SaveClips->trigger();
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kStop);
  EXPECT_EQ(boxes_->shown[0].caption, Form().ApplicationTitle());
  const QString text = boxes_->shown[0].text;
  EXPECT_TRUE(text.startsWith(QString::fromStdString("没有提取文件 #1: " + missing + "1.jpg\n"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QString::fromStdString("\n不能创建文件 " + missing + "1.jpg\n"))) << text.toStdString();
  EXPECT_FALSE(std::filesystem::exists(temp_.File("no folder")));
  EXPECT_EQ(Panel(1), QStringLiteral("空闲")) << "the error names the clip; the window is idle again";
  EXPECT_EQ(Form().Gauge1->Progress(), 0);
  EXPECT_FALSE(Form().Busy());
}

class ExtractionBeforeAnyScan : public WindowTest {};

TEST_F(ExtractionBeforeAnyScan, DoesNothingAtAll) {
  Start();
  Form().SaveClips->trigger();
  EXPECT_TRUE(boxes_->shown.empty());
  EXPECT_EQ(Panel(1), QStringLiteral("空闲"));
}

}  // namespace
}  // namespace rsf::ui::test
