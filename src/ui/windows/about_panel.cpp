// Layout of the About panel: the logo on the left, the texts in one column on the right.
#include "ui/windows/about_panel.h"

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "ui/windows/about_logo.h"
#include "ui/display_text.h"
#include "desktop/product.h"

namespace rsf::ui {
namespace {

constexpr const char* kPresentsText = "MALDORAN 向您骄傲呈现:";
constexpr const char* kNoticeText = "本程序为免费软件，不提供任何担保。";
constexpr const char* kCreditText = "感谢所有帮助测试本程序的朋友!";
constexpr const char* kOkCaption = "确定";
constexpr int kTextLeft = 160;

}  // namespace

TframeAboutPanel::TframeAboutPanel(QWidget* parent) : QWidget(parent), GroupBox1(new QGroupBox(this)) {
  setObjectName(QStringLiteral("TframeAboutPanel1"));
  setFixedSize(kWidth, kHeight);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(0, 0, kWidth, kHeight);

  auto* imgLogo = new QLabel(GroupBox1);
  imgLogo->setObjectName(QStringLiteral("imgLogo"));
  imgLogo->setPixmap(AboutLogo(devicePixelRatioF()));
  imgLogo->setGeometry(16, 32, kLogoWidth, kLogoHeight);

  AddLabel(DisplayText(kPresentsText), kTextLeft, 24)->setObjectName(QStringLiteral("lblPresents"));
  lblApplicationName = AddLabel(QStringLiteral("ApplicationName Vx.x"), kTextLeft, 48);
  lblApplicationName->setObjectName(QStringLiteral("lblApplicationName"));
  QFont bold = lblApplicationName->font();
  bold.setBold(true);
  lblApplicationName->setFont(bold);
  lblBuild = AddLabel(QStringLiteral("Build xxxx"), kTextLeft, 72);
  lblBuild->setObjectName(QStringLiteral("lblBuild"));
  AddLabel(DisplayText(kNoticeText), kTextLeft, 95)->setObjectName(QStringLiteral("lblNotice"));

  lblHyperLink = AddLabel(QString::fromLatin1(desktop::kHomePageAddress), kTextLeft, 110);
  lblHyperLink->setObjectName(QStringLiteral("lblHyperLink"));
  QFont link(QStringLiteral("MS Sans Serif"));
  link.setPixelSize(13);
  link.setUnderline(true);
  lblHyperLink->setFont(link);
  QPalette blue = lblHyperLink->palette();
  blue.setColor(QPalette::WindowText, Qt::blue);
  lblHyperLink->setPalette(blue);
  lblHyperLink->setCursor(Qt::PointingHandCursor);
  lblHyperLink->adjustSize();
  lblHyperLink->installEventFilter(this);

  QLabel* credit = AddLabel(DisplayText(kCreditText), kTextLeft, 145);
  credit->setObjectName(QStringLiteral("lblCredit"));
  QPalette dark = credit->palette();
  dark.setColor(QPalette::WindowText, QColor(24, 48, 66));
  credit->setPalette(dark);

  Button1 = new QPushButton(DisplayText(kOkCaption), GroupBox1);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(kTextLeft, 168, 75, 25);
  Button1->setDefault(true);
  Button1->setFocus();
}

QLabel* TframeAboutPanel::AddLabel(const QString& text, int left, int top) {
  auto* label = new QLabel(text, GroupBox1);
  label->setTextFormat(Qt::PlainText);
  label->move(left, top);
  label->adjustSize();
  return label;
}

bool TframeAboutPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblHyperLink && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && on_link_clicked) {
    on_link_clicked(lblHyperLink->text());
    return true;
  }
  return false;
}

}  // namespace rsf::ui
