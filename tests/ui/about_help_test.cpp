// The About window (texts set once and shown alike each time, no close box, the link, the
// button that hides it) and the help command opening the user guide at its opening topic.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "desktop/command_pictures.h"
#include "ui/widgets/toolbar_icons.h"
#include "ui/windows/about_logo.h"
#include "ui/windows/about_panel.h"
#include "desktop/product.h"
#include "ui/windows/splash_form.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class AboutWindow : public WindowTest {
 protected:
  void SetUp() override { Start(); }
  QStringList Texts() {
    TframeAboutPanel* panel = Splash().TframeAboutPanel1;
    return {Splash().windowTitle(), panel->lblApplicationName->text(), panel->lblBuild->text(),
            panel->findChild<QLabel*>(QStringLiteral("lblPresents"))->text(), panel->lblHyperLink->text()};
  }
};

TEST_F(AboutWindow, ShowsTheSameTextsEachTimeAndItsButtonHidesIt) {
  std::vector<QStringList> seen;
  for (int round = 0; round < 2; ++round) {
    QTimer::singleShot(0, [&] {
      EXPECT_TRUE(Splash().isVisible());
      EXPECT_TRUE(Splash().isModal());
      seen.push_back(Texts());
      QTest::mouseClick(Splash().TframeAboutPanel1->Button1, Qt::LeftButton);
    });
    if (round == 0)
      Form().SplashShow->trigger();
    else
      QTest::keyClick(&Form(), Qt::Key_I, Qt::ControlModifier);
    ActivateWindow();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Splash().isVisible());
  }
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], seen[1]);
  EXPECT_EQ(seen[0], QStringList({"关于 RSF-Extractor V 1.3 Beta 1 ...", "RSF-Extractor V 1.3 Beta 1",
                                  "V 1.3 Beta 1 Build 100", "MALDORAN 向您骄傲呈现:", QString::fromLatin1(desktop::kHomePageAddress)}));
}

TEST_F(AboutWindow, HasNoCloseBoxAndKeepsItsSize) {
  const Qt::WindowFlags flags = Splash().windowFlags();
  EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMinMaxButtonsHint);
  EXPECT_EQ(Splash().minimumSize(), QSize(370, 210));
  EXPECT_EQ(Splash().maximumSize(), QSize(370, 210));
  TframeAboutPanel* panel = Splash().TframeAboutPanel1;
  EXPECT_EQ(panel->Button1->geometry(), QRect(160, 168, 75, 25));
  EXPECT_EQ(panel->Button1->text(), QStringLiteral("确定"));
  EXPECT_EQ(panel->lblHyperLink->pos(), QPoint(160, 110));
  EXPECT_TRUE(panel->lblHyperLink->font().underline());
  EXPECT_TRUE(panel->lblApplicationName->font().bold());
  // Every text fits in the window, the long link included.
  for (const QLabel* label : panel->findChildren<QLabel*>())
    EXPECT_LE(label->geometry().right(), 370 - 4) << label->objectName().toStdString();
}

TEST_F(AboutWindow, LinkOpensTheHomePageThroughTheShell) {
  QTest::mouseClick(Splash().TframeAboutPanel1->lblHyperLink, Qt::LeftButton);
  ASSERT_EQ(shell_->opened.size(), 1u);
  EXPECT_EQ(shell_->opened[0], QUrl(QStringLiteral("http://github.com/rsf-extractor")));
  shell_->succeed = false;
  QTest::mouseClick(Splash().TframeAboutPanel1->lblHyperLink, Qt::LeftButton);
  EXPECT_TRUE(boxes_->shown.empty()) << "a failed link is not reported";
}

TEST(AboutLogoPicture, IsDrawnOnATransparentGround) {
  const QImage logo = AboutLogo().toImage();
  EXPECT_EQ(logo.size(), QSize(117, 115));
  EXPECT_EQ(qAlpha(logo.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(logo.pixel(58, 56)) > 0, true);
}

// The tool bar shows the pixels the desktop core rasterises, as the Windows program does.
TEST(ToolbarPictures, AreTheCoresPixels) {
  for (int picture : {desktop::kPicturePlay, desktop::kPictureCdMode, desktop::kPictureSelectTarget}) {
    const desktop::RgbaImage core = desktop::Rasterize(desktop::CommandPictureDrawing(picture), 2);
    const QImage shown = ToolbarIcon(picture).pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), QSize(core.width, core.height));
    for (int y = 0; y < core.height; ++y) {
      for (int x = 0; x < core.width; ++x) {
        const desktop::Colour expected = core.At(x, y);
        const QRgb pixel = shown.pixel(x, y);
        ASSERT_EQ(qAlpha(pixel), expected.alpha) << picture << " at " << x << "," << y;
        if (expected.alpha > 64) {
          ASSERT_NEAR(qRed(pixel), expected.red, 3) << picture << " at " << x << "," << y;
          ASSERT_NEAR(qBlue(pixel), expected.blue, 3) << picture << " at " << x << "," << y;
        }
      }
    }
  }
}

class Help : public WindowTest {
 protected:
  void SetUp() override { Start(); }
};

TEST_F(Help, OpensTheUserGuideAtItsOpeningTopicAndReportsAGuideItCannotOpen) {
  const QString guide = Form().HelpFile();
  ASSERT_TRUE(QFileInfo::exists(guide)) << guide.toStdString();
  QFile file(guide);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("id=\"WelcometoRSF-Extractor1\""));
  file.close();

  Form().ShowHelp->trigger();
  QTest::keyClick(&Form(), Qt::Key_F1);
  ASSERT_EQ(shell_->documents.size(), 2u);
  const QUrl opened(QString::fromStdString(shell_->documents[0]));
  EXPECT_EQ(opened.toLocalFile(), guide);
  EXPECT_EQ(opened.fragment(), QStringLiteral("WelcometoRSF-Extractor1"));
  EXPECT_EQ(shell_->documents[1], shell_->documents[0]);
  EXPECT_TRUE(boxes_->shown.empty());

  // No browser takes the guide: the warning speaks of the guide, not of a clip, and says where it lies.
  shell_->document_error = EOPNOTSUPP;
  shell_->document_reason = "没有与这类文件关联的程序";
  Form().ShowHelp->trigger();
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("当尝试打开用户指南时发生下列错误:     \n\n"
                                                  "没有与这类文件关联的程序\n请用网页浏览器打开用户指南: %1")
                                       .arg(guide));

  shell_->document_error = 0;
  const QString aside = guide + QStringLiteral(".aside");
  ASSERT_TRUE(QFile::rename(guide, aside));
  Form().ShowHelp->trigger();
  QFile::rename(aside, guide);
  EXPECT_EQ(shell_->documents.size(), 3u) << "a missing guide is not handed to the shell";
  ASSERT_EQ(boxes_->shown.size(), 2u);
  EXPECT_EQ(boxes_->shown[1].caption, QStringLiteral("错误"));
  EXPECT_EQ(boxes_->shown[1].text, QStringLiteral("不能打开帮助文件 \"%1\" !").arg(guide));
}

}  // namespace
}  // namespace rsf::ui::test
