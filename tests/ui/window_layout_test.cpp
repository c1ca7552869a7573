// The main window as laid out: size and place, the rules that keep the group boxes and the
// clip list in line on resizing, the command set in tool bar and menus, status panels,
// clip-type boxes, view toggles, MP3 mode and the font.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QToolBar>

#include "scan/catalogue/clip_type_table.h"
#include "ui/widgets/bevel_panel.h"
#include "ui/widgets/check_list_box.h"
#include "ui/widgets/gauge.h"
#include "ui/widgets/header_control.h"
#include "ui/widgets/status_panels.h"
#include "ui/widgets/window_font.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class WindowLayout : public WindowTest {
 protected:
  void SetUp() override { Start(); }
  // Texts of a menu's items in order, "-" for a separator.
  static QStringList Items(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions) texts.push_back(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
  }
};

TEST_F(WindowLayout, WindowHasTheDesignedOuterSizeAndStartsCentred) {
  EXPECT_EQ(Form().width() + kNominalFrameWidth, 560);
  EXPECT_EQ(Form().height() + kNominalFrameHeight, 467 + 119);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_NEAR(Form().x() + 280, screen.center().x(), 1);
  EXPECT_NEAR(Form().y() + 293, screen.center().y(), 1);
  EXPECT_EQ(Form().panelMain->minimumSize(), QSize(464, 255 + 119));
  EXPECT_EQ(Form().tlbarMain->height(), 30);
  EXPECT_EQ(Form().stbarMain->height(), 19);
}

TEST_F(WindowLayout, GroupBoxesShareTheWidthAndTheClipListLinesUpUnderTheSourceBox) {
  TfrmMainForm& form = Form();
  const int outer = form.width() + kNominalFrameWidth;
  const int target_left = form.panelMain->width() / 2 + 8;
  EXPECT_EQ(form.GroupBox2->geometry(), QRect(target_left, 8, outer - target_left - 16, 49));
  EXPECT_EQ(form.GroupBox1->geometry(), QRect(8, 8, outer - target_left - 8, 49));
  EXPECT_EQ(form.panelClips->width(), form.GroupBox1->width());
  // Source field and button keep their distances to the box's right edge.
  EXPECT_EQ(form.GroupBox1->width() - form.btnSourceBrowse->geometry().right() - 1, 241 - 233);
  EXPECT_EQ(form.btnSourceBrowse->x() - form.edtSourceFile->geometry().right() - 1, 212 - 201);
  EXPECT_EQ(form.GroupBox2->width() - form.btnTargetBrowse->geometry().right() - 1, 287 - 279);
  // The drive list covers the source field and its button.
  EXPECT_EQ(form.comboCDDRIVES->x(), form.edtSourceFile->x());
  EXPECT_EQ(form.comboCDDRIVES->geometry().right(), form.btnSourceBrowse->geometry().right());
  EXPECT_FALSE(form.comboCDDRIVES->isVisible());
}

TEST_F(WindowLayout, WideningByHundredPixelsWidensEachBoxByFiftyAndResetsTheSplitter) {
  TfrmMainForm& form = Form();
  const QRect source = form.GroupBox1->geometry();
  const QRect target = form.GroupBox2->geometry();
  const QRect middle = form.pnlMiddle->geometry();
  const QRect types = form.grpbxClips->geometry();
  const QRect gauge = form.Gauge1->geometry();
  const int target_edit = form.edtTargetFiles->width();
  const int source_button = form.btnSourceBrowse->x();
  form.Splitter1->setSizes({120, form.Splitter1->width() - 120 - form.Splitter1->handleWidth()});
  ASSERT_EQ(form.panelClips->width(), 120);

  form.resize(form.width() + 100, form.height());
  QCoreApplication::processEvents();

  EXPECT_EQ(form.GroupBox1->width(), source.width() + 50);
  EXPECT_EQ(form.GroupBox2->width(), target.width() + 50);
  EXPECT_EQ(form.GroupBox2->x(), target.x() + 50);
  EXPECT_EQ(form.panelClips->width(), form.GroupBox1->width());
  EXPECT_EQ(form.pnlMiddle->geometry(), middle.adjusted(0, 0, 100, 0));
  EXPECT_EQ(form.grpbxClips->geometry(), types.adjusted(0, 0, 100, 0));
  EXPECT_EQ(form.Gauge1->geometry(), gauge.adjusted(0, 0, 100, 0));
  EXPECT_EQ(form.edtTargetFiles->width(), target_edit + 50);
  EXPECT_EQ(form.btnSourceBrowse->x(), source_button + 50);

  // Growing taller stretches the clip panes; boxes and gauge keep their distance to the bottom.
  form.resize(form.width(), form.height() + 40);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.pnlMiddle->height(), middle.height() + 40);
  EXPECT_EQ(form.grpbxClips->y(), types.y() + 40);
  EXPECT_EQ(form.Gauge1->y(), gauge.y() + 40);
}

TEST_F(WindowLayout, ToolBarHoldsTheCommandsInOrderWithTheirHintsAndPictures) {
  QStringList order;
  for (QAction* action : Form().tlbarMain->actions())
    order.push_back(action->isSeparator() ? QStringLiteral("-") : action->objectName());
  EXPECT_EQ(order, QStringList({"OpenSource", "StartAnalysis", "-", "SelectAll", "UnSelectAll", "Play", "-",
                                "SelectTarget", "SaveClips", "-", "UseCDMode", "-", "ShowHelp", "SplashShow"}));
  struct Expected {
    QAction* action;
    const char* caption;
    const char* hint;
    QKeySequence shortcut;
  };
  TfrmMainForm& f = Form();
  const Expected expected[] = {
      {f.OpenSource, "选择源文件...", "浏览源文件", QKeySequence(QStringLiteral("Ctrl+O"))},
      {f.StartAnalysis, "开始分析", "开始分析源文件", QKeySequence(QStringLiteral("Ctrl+A"))},
      {f.SelectAll, "全部选定", "选择所有找到的剪辑", {}},
      {f.UnSelectAll, "全部不选", "取消选择所有找到的剪辑", {}},
      {f.Play, "播放剪辑", "播放选中的剪辑", {}},
      {f.SelectTarget, "选择目标", "浏览目标文件", QKeySequence(QStringLiteral("Ctrl+T"))},
      {f.SaveClips, "保存剪辑", "保存选择的剪辑", QKeySequence(QStringLiteral("Ctrl+S"))},
      {f.UseCDMode, "使用 CD 模式", "切换 CD-模式\n注意：此功能尚处于测试阶段（未充分测试）。", {}},
      {f.ShowHelp, "帮助目录", "显示帮助", {}},
      {f.SplashShow, "关于...", "关于...", QKeySequence(QStringLiteral("Ctrl+I"))},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.action->objectName().toStdString());
    EXPECT_EQ(e.action->text(), QString::fromUtf8(e.caption));
    EXPECT_EQ(e.action->toolTip(), QString::fromUtf8(e.hint));
    EXPECT_EQ(e.action->shortcut(), e.shortcut);
    EXPECT_FALSE(e.action->icon().pixmap(16, 16).isNull());
  }
  EXPECT_TRUE(f.UseCDMode->isCheckable());
}

TEST_F(WindowLayout, MenuBarHoldsEveryMenuAndItemInOrder) {
  TfrmMainForm& f = Form();
  QStringList titles;
  for (QAction* menu : f.menuBar()->actions()) titles.push_back(menu->text());
  EXPECT_EQ(titles, QStringList({"源", "剪辑", "目标", "视图", "选项", "帮助", "测试"}));
  EXPECT_EQ(Items(f.File1->actions()), QStringList({"选择源文件...", "开始分析", "-", "退出"}));
  EXPECT_EQ(Items(f.Clips1->actions()), QStringList({"全部选定", "全部不选", "-", "播放剪辑"}));
  EXPECT_EQ(Items(f.Target1->actions()), QStringList({"选择目标", "保存剪辑"}));
  EXPECT_EQ(Items(f.View1->actions()), QStringList({"工具栏", "状态栏"}));
  EXPECT_EQ(Items(f.BETA1->actions()), QStringList({"使用 CD 模式", "拖放后开始分析", "首先尝试内部回放", "精确边界"}));
  EXPECT_EQ(Items(f.N1->actions()), QStringList({"帮助目录", "关于..."}));
  EXPECT_EQ(Items(f.BETA2->actions()), QStringList({"MP3 模式", "忽略读取错误"}));
  EXPECT_EQ(Items(f.popupClips->actions()), QStringList({"全部选定", "全部不选", "-", "播放剪辑"}));

  EXPECT_TRUE(f.Toolbar1->isChecked());
  EXPECT_TRUE(f.Statusbar2->isChecked());
  EXPECT_TRUE(f.StartAnalysisonDragDrop1->isChecked());
  EXPECT_TRUE(f.Tryinternalplaybackfirst->isChecked());
  EXPECT_FALSE(f.PreciseBoundaries1->isChecked());
  EXPECT_FALSE(f.MP3Mode1->isChecked());
  EXPECT_FALSE(f.Ignorereaderrors1->isChecked());

  // Option items flip their tick on each click.
  f.Ignorereaderrors1->trigger();
  EXPECT_TRUE(f.Ignorereaderrors1->isChecked());
  f.StartAnalysisonDragDrop1->trigger();
  EXPECT_FALSE(f.StartAnalysisonDragDrop1->isChecked());
}

TEST_F(WindowLayout, StatusBarHasFourPanelsWithTheirWidthsAndTexts) {
  EXPECT_EQ(Panel(0), QStringLiteral("状态:"));
  EXPECT_EQ(Panel(1), QStringLiteral("空闲"));
  EXPECT_EQ(Panel(2), QStringLiteral("使用时间:"));
  EXPECT_EQ(Panel(3), QStringLiteral("剩余:"));
  EXPECT_EQ(Form().stbarMain->PanelWidth(0), 40);
  EXPECT_EQ(Form().stbarMain->PanelWidth(1), 240);
  EXPECT_EQ(Form().stbarMain->PanelWidth(2), 130);
  EXPECT_GE(Form().stbarMain->PanelWidth(3), 50);
}

TEST_F(WindowLayout, ClipTypeBoxesSitInTheirGridsTheClassicOnesTicked) {
  TfrmMainForm& f = Form();
  struct Expected {
    QCheckBox* box;
    const char* caption;
    QPoint place;
  };
  const Expected classic[] = {
      {f.ClipTypeBox(ClipKind::kBIK), "Bink 视频", {16, 24}},    {f.ClipTypeBox(ClipKind::kMVE), "Interplay 视频", {136, 24}}, {f.ClipTypeBox(ClipKind::kQT), "Quicktime", {256, 24}},
      {f.ClipTypeBox(ClipKind::kBMP), "Bitmap 图片", {352, 24}}, {f.ClipTypeBox(ClipKind::kRAM), "RealMedia", {16, 44}},       {f.ClipTypeBox(ClipKind::kAVI), "AVI 视频", {136, 44}},
      {f.ClipTypeBox(ClipKind::kMID), "MIDI 音频", {256, 44}},   {f.ClipTypeBox(ClipKind::kJPG), "JPEG 图片", {352, 44}},      {f.ClipTypeBox(ClipKind::kSMK), "Smacker 视频", {16, 64}},
      {f.ClipTypeBox(ClipKind::kMPG), "MPEG-1 视频", {136, 64}}, {f.ClipTypeBox(ClipKind::kWAV), "WAV 音频", {256, 64}},
  };
  const Expected more[] = {
      {f.ClipTypeBox(ClipKind::kVOC), "VOC 音频", {16, 24}},   {f.ClipTypeBox(ClipKind::kXMI), "XMI 音乐", {136, 24}},   {f.ClipTypeBox(ClipKind::kMOD), "MOD 音乐", {256, 24}},
      {f.ClipTypeBox(ClipKind::kS3M), "S3M 音乐", {352, 24}},  {f.ClipTypeBox(ClipKind::kXM), "XM 音乐", {16, 44}},      {f.ClipTypeBox(ClipKind::kIT), "IT 音乐", {136, 44}},
      {f.ClipTypeBox(ClipKind::kGIF), "GIF 图片", {256, 44}},  {f.ClipTypeBox(ClipKind::kPNG), "PNG 图片", {352, 44}},   {f.ClipTypeBox(ClipKind::kOGG), "Ogg 媒体", {16, 64}},
      {f.ClipTypeBox(ClipKind::kFLIC), "FLIC 动画", {136, 64}}, {f.ClipTypeBox(ClipKind::kAIFF), "AIFF 音频", {256, 64}}, {f.ClipTypeBox(ClipKind::kILBM), "IFF 图片", {352, 64}},
      {f.ClipTypeBox(ClipKind::k8SVX), "8SVX 音频", {16, 84}},
  };
  for (const auto& [group, boxes, ticked] : {std::tuple{f.grpbxClips, std::span<const Expected>(classic), true},
                                             std::tuple{f.grpbxMoreClips, std::span<const Expected>(more), false}}) {
    for (const Expected& e : boxes) {
      SCOPED_TRACE(e.caption);
      EXPECT_EQ(e.box->text(), QString::fromUtf8(e.caption));
      EXPECT_EQ(e.box->pos(), e.place);
      EXPECT_EQ(e.box->parentWidget(), group);
      EXPECT_EQ(e.box->isChecked(), ticked);
    }
  }
  EXPECT_EQ(f.grpbxClips->title(), QStringLiteral("可用的剪辑类型:"));
  EXPECT_EQ(f.grpbxMoreClips->title(), QStringLiteral("更多类型:"));
  // The second group under the first, the gauge under both, as wide as the first.
  EXPECT_EQ(f.grpbxMoreClips->y(), f.grpbxClips->geometry().bottom() + 3);
  EXPECT_EQ(f.grpbxMoreClips->width(), f.grpbxClips->width());
  EXPECT_EQ(f.Gauge1->y(), f.grpbxMoreClips->geometry().bottom() + 6);
  // Each box carries its type's control name.
  for (const ClipTypeRecord& type : ClipTypeTable())
    EXPECT_EQ(f.ClipTypeBox(type.kind)->objectName(), QStringLiteral("chk") + QString::fromUtf8(type.name.data(), static_cast<qsizetype>(type.name.size())).toUpper());
}

TEST_F(WindowLayout, HeadersHaveTheirSectionsAndHintsShowTheirLines) {
  TfrmMainForm& f = Form();
  ASSERT_EQ(f.HeaderControl1->SectionCount(), 3);
  EXPECT_EQ(f.HeaderControl1->SectionText(0), QStringLiteral("文件"));
  EXPECT_EQ(f.HeaderControl1->SectionText(1), QStringLiteral("类型"));
  EXPECT_EQ(f.HeaderControl1->SectionText(2), QStringLiteral("大小"));
  EXPECT_EQ(f.HeaderControl1->SectionWidth(0), 80);
  EXPECT_EQ(f.HeaderControl1->SectionWidth(1), 100);
  EXPECT_EQ(f.HeaderControl1->SectionWidth(2), 80);
  EXPECT_FALSE(f.HeaderControl1->sectionsMovable());
  EXPECT_EQ(f.HeaderControl1->height(), 17);
  ASSERT_EQ(f.HeaderControl2->SectionCount(), 1);
  EXPECT_EQ(f.HeaderControl2->SectionText(0), QStringLiteral("信息"));
  EXPECT_EQ(f.HeaderControl2->SectionWidth(0), 5000);
  EXPECT_TRUE(f.Memo1->isReadOnly());

  EXPECT_EQ(f.edtTargetFiles->toolTip(),
            QStringLiteral("目标文件的名称（包括路径）。\n\n注意：不要输入任何扩展名!\n扩展名将会根据剪辑的类型自动添加。"));
  EXPECT_EQ(f.rzFoundClips->toolTip(),
            QStringLiteral("列表在源中找到的剪辑。\n复选你想要提取的剪辑。\n双击剪辑将开始回放。"));
  EXPECT_EQ(f.edtSourceFile->toolTip(), QStringLiteral("你想要分析的文件（包括路径）。"));
  EXPECT_EQ(f.pnlPrevInfo->toolTip(), QStringLiteral("显示所选剪辑的信息。"));
  EXPECT_EQ(f.grpbxClips->toolTip(), QStringLiteral("选取你想要分析的剪辑类型。"));
}

TEST_F(WindowLayout, ViewItemsHideAndShowToolBarAndStatusBar) {
  TfrmMainForm& f = Form();
  const int panel_height = f.panelMain->height();
  const int bars = f.tlbarMain->height() + f.stbarMain->height();
  f.Toolbar1->trigger();
  f.Statusbar2->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(f.Toolbar1->isChecked());
  EXPECT_FALSE(f.tlbarMain->isVisible());
  EXPECT_FALSE(f.stbarMain->isVisible());
  EXPECT_EQ(f.panelMain->height(), panel_height + bars);

  f.Toolbar1->trigger();
  f.Statusbar2->trigger();
  QCoreApplication::processEvents();
  EXPECT_TRUE(f.tlbarMain->isVisible());
  EXPECT_TRUE(f.stbarMain->isVisible());
  EXPECT_LT(f.tlbarMain->y(), f.panelMain->y());
  EXPECT_GT(f.stbarMain->y(), f.panelMain->y());
  EXPECT_EQ(f.panelMain->height(), panel_height);
}

TEST_F(WindowLayout, Mp3ModeGreysTheClipTypeBoxesAndKeepsTheirTicks) {
  TfrmMainForm& f = Form();
  f.ClipTypeBox(ClipKind::kAVI)->setChecked(false);
  f.ClipTypeBox(ClipKind::kGIF)->setChecked(true);
  const auto ticked = [&](QCheckBox* box) { return box != f.ClipTypeBox(ClipKind::kAVI) && (box->parentWidget() == f.grpbxClips || box == f.ClipTypeBox(ClipKind::kGIF)); };
  f.MP3Mode1->trigger();
  EXPECT_TRUE(f.MP3Mode1->isChecked());
  for (QCheckBox* box : f.ClipTypeBoxes()) {
    EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
    EXPECT_EQ(box->isChecked(), ticked(box));
  }
  EXPECT_TRUE(f.grpbxClips->isEnabled());

  f.MP3Mode1->trigger();
  EXPECT_FALSE(f.MP3Mode1->isChecked());
  for (QCheckBox* box : f.ClipTypeBoxes()) {
    EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(box->isChecked(), ticked(box));
  }
}

TEST_F(WindowLayout, WindowFontIsAnInstalledChineseFontAtNinePoints) {
  const QFont font = Form().font();
  EXPECT_EQ(font.pixelSize(), 12);
  const QStringList preferred = PreferredFontFamilies();
  if (QFontDatabase::families().contains(QStringLiteral("WenQuanYi Zen Hei")) ||
      QFontDatabase::families().contains(QStringLiteral("AR PL UMing CN"))) {
    EXPECT_TRUE(preferred.contains(font.family())) << font.family().toStdString();
  }
  // The pane's labels are padded with blanks to line up their colons.
  const QFont pane = Form().Memo1->font();
  if (ChineseIsDoubleWidth(pane)) {
    const QFontMetrics metrics(pane);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("起始偏移量   : ")),
              metrics.horizontalAdvance(QStringLiteral("大小         : ")));
  }
}

TEST(GaugePercent, StaysWithinZeroToHundredForEveryMaximum) {
  Gauge gauge;
  gauge.SetMaximum(0);  // one clip to extract: maximum 0
  gauge.SetProgress(0);
  EXPECT_EQ(gauge.PercentDone(), 0);
  gauge.SetMaximum(3'000'000'000LL);  // byte counts beyond 32 bits
  gauge.SetProgress(1'500'000'000LL);
  EXPECT_EQ(gauge.PercentDone(), 50);
  gauge.SetProgress(4'000'000'000LL);
  EXPECT_EQ(gauge.PercentDone(), 100);
  gauge.SetProgress(-5);
  EXPECT_EQ(gauge.PercentDone(), 0);
}

}  // namespace
}  // namespace rsf::ui::test
