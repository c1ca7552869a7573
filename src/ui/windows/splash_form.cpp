// The About window around its panel: fixed size, no close box, centred on its owner.
#include "ui/windows/splash_form.h"

#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "ui/windows/about_panel.h"
#include "ui/display_text.h"
#include "desktop/about_contents.h"
#include "ui/services/shell.h"
#include "ui/widgets/window_font.h"

namespace rsf::ui {

TfrmSplash::TfrmSplash(Shell& shell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), shell_(shell) {
  setObjectName(QStringLiteral("frmSplash"));
  setFont(WindowFont());
  setWindowTitle(DisplayText("关于..."));
  TframeAboutPanel1 = new TframeAboutPanel(this);
  TframeAboutPanel1->move(0, 0);
  setFixedSize(TframeAboutPanel1->size());
  connect(TframeAboutPanel1->Button1, &QPushButton::clicked, this, [this] { TframeAboutPanel1Button1Click(); });
  TframeAboutPanel1->on_link_clicked = [this](const QString&) { lblHyperLinkClick(); };
  FormCreate();
}

void TfrmSplash::FormCreate() { setWindowTitle(DisplayText(desktop::About().caption)); }

// Only hides the window: the same window and texts come back at the next showing.
void TfrmSplash::TframeAboutPanel1Button1Click() { accept(); }

// Whatever the shell makes of the address, nothing is reported.
void TfrmSplash::lblHyperLinkClick() { shell_.Open(QUrl(QString::fromStdString(desktop::HomePageUrl()))); }

}  // namespace rsf::ui
