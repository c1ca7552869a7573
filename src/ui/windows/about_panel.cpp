// The About panel drawn from the desktop core's contents: the logo on the left, the texts in
// one column on the right.
#include "ui/windows/about_panel.h"

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "ui/windows/about_logo.h"
#include "ui/display_text.h"
#include "desktop/about_contents.h"

namespace rsf::ui {
namespace {

// The About window's own colour for the line of thanks.
constexpr QColor kDarkText(24, 48, 66);

}  // namespace

TframeAboutPanel::TframeAboutPanel(QWidget* parent) : QWidget(parent), GroupBox1(new QGroupBox(this)) {
  const desktop::AboutContents about = desktop::About();
  setObjectName(QStringLiteral("TframeAboutPanel1"));
  setFixedSize(about.width, about.height);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(0, 0, about.width, about.height);

  auto* imgLogo = new QLabel(GroupBox1);
  imgLogo->setObjectName(QStringLiteral("imgLogo"));
  imgLogo->setPixmap(AboutLogo(devicePixelRatioF()));
  imgLogo->setGeometry(about.logo_left, about.logo_top, kLogoWidth, kLogoHeight);

  for (const desktop::AboutText& line : about.texts) {
    QLabel* label = AddLabel(DisplayText(line.text), line.left, line.top);
    label->setObjectName(QString::fromLatin1(line.name));
    StyleLabel(*label, line.style);
  }
  lblApplicationName = GroupBox1->findChild<QLabel*>(QStringLiteral("lblApplicationName"));
  lblBuild = GroupBox1->findChild<QLabel*>(QStringLiteral("lblBuild"));
  lblHyperLink = GroupBox1->findChild<QLabel*>(QStringLiteral("lblHyperLink"));
  lblHyperLink->installEventFilter(this);

  Button1 = new QPushButton(DisplayText(about.button_caption), GroupBox1);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(about.button_left, about.button_top, about.button_width, about.button_height);
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

void TframeAboutPanel::StyleLabel(QLabel& label, desktop::AboutTextStyle style) {
  switch (style) {
    case desktop::AboutTextStyle::kPlain:
      break;
    case desktop::AboutTextStyle::kBold: {
      QFont bold = label.font();
      bold.setBold(true);
      label.setFont(bold);
      break;
    }
    case desktop::AboutTextStyle::kLink: {
      QFont link(QStringLiteral("MS Sans Serif"));
      link.setPixelSize(13);
      link.setUnderline(true);
      label.setFont(link);
      QPalette blue = label.palette();
      blue.setColor(QPalette::WindowText, Qt::blue);
      label.setPalette(blue);
      label.setCursor(Qt::PointingHandCursor);
      break;
    }
    case desktop::AboutTextStyle::kDark: {
      QPalette dark = label.palette();
      dark.setColor(QPalette::WindowText, kDarkText);
      label.setPalette(dark);
      break;
    }
  }
  label.adjustSize();  // a new font changes the text's extent
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
