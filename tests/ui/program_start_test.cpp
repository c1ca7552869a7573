// Program start: the window's first state with and without a command-line argument, the
// About window made hidden, and the CD access mode taken from the platform.
#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstdlib>

#include "platform/system_info.h"
#include "ui/widgets/check_list_box.h"
#include "ui/display_text.h"
#include "ui/services/qt_translation.h"
#include "ui/windows/splash_form.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

class ProgramStart : public WindowTest {};

TEST_F(ProgramStart, WithoutArgumentShowsPlaceholdersAndTheDefaultTarget) {
  Start();
  EXPECT_EQ(Form().edtSourceFile->text(), QStringLiteral("<源文件>"));
  const QString folder = PathFromLocal(platform::ProgramFolder());
  ASSERT_FALSE(folder.isEmpty());
  EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
  EXPECT_EQ(Form().edtTargetFiles->text(), folder + QStringLiteral("Clip"));
  EXPECT_EQ(Form().HelpFile(), folder + QStringLiteral("rsfextract.html"));
  EXPECT_EQ(Form().windowTitle(), QStringLiteral("MALDORAN RSF-Extractor V 1.3 Beta 1"));
  EXPECT_EQ(Form().ApplicationTitle(), Form().windowTitle());
  EXPECT_EQ(Form().rzFoundClips->count(), 0);
  EXPECT_EQ(Panel(1), QStringLiteral("空闲"));
  EXPECT_TRUE(Form().TemporaryFiles().empty());
  EXPECT_TRUE(Form().acceptDrops());
  EXPECT_FALSE(Form().UseCDMode->isChecked());
  EXPECT_FALSE(Form().Busy());
}

TEST_F(ProgramStart, WithArgumentFillsTheSourceFieldAndScansNothing) {
  const std::string path = WriteSource("source.bin", SourceBuilder().Filler(100).Jpeg(2000));
  Start({QString::fromStdString(path), QStringLiteral("ignored second argument")});
  EXPECT_EQ(Form().edtSourceFile->text(), QString::fromStdString(path));
  EXPECT_EQ(Form().rzFoundClips->count(), 0);
  EXPECT_EQ(Panel(1), QStringLiteral("空闲"));
  EXPECT_EQ(Form().Engine().Source(), nullptr);
  EXPECT_TRUE(Form().Memo1->toPlainText().isEmpty());
  EXPECT_TRUE(boxes_->shown.empty());
}

TEST_F(ProgramStart, AboutWindowIsMadeHiddenWithTheMainWindowAsOwner) {
  Start();
  EXPECT_FALSE(Splash().isVisible());
  EXPECT_EQ(Splash().parentWidget(), &Form());
}

TEST_F(ProgramStart, CdAccessGoesThroughTheRawDeviceUnlessAspiIsAskedFor) {
  ::unsetenv("RSFX_CD_ACCESS");
  Start();
  EXPECT_TRUE(Form().Presenter().NTDeviceMode());
  program_.reset();

  ::setenv("RSFX_CD_ACCESS", "aspi", 1);
  Start();
  EXPECT_FALSE(Form().Presenter().NTDeviceMode());
  program_.reset();

  ::setenv("RSFX_CD_ACCESS", "device", 1);
  Start();
  EXPECT_TRUE(Form().Presenter().NTDeviceMode());
  ::unsetenv("RSFX_CD_ACCESS");
}

// Qt's own texts speak Chinese too: a dialog's buttons.
TEST(QtTranslations, DialogButtonsAreChinese) {
  EXPECT_EQ(InstallQtTranslations(*QCoreApplication::instance()), 2) << "qt6-translations-l10n installed";
  QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_TRUE(buttons.button(QDialogButtonBox::Cancel)->text().startsWith(QStringLiteral("取消")))
      << buttons.button(QDialogButtonBox::Cancel)->text().toStdString();
  EXPECT_TRUE(buttons.button(QDialogButtonBox::Open)->text().startsWith(QStringLiteral("打开")))
      << buttons.button(QDialogButtonBox::Open)->text().toStdString();
}

}  // namespace
}  // namespace rsf::ui::test
