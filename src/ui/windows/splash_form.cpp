// The About window around its panel: fixed size, no close box, centred on its owner.
#include "ui/windows/splash_form.h"

#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "ui/windows/about_panel.h"
#include "ui/display_text.h"
#include "desktop/product.h"
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
  setFixedSize(TframeAboutPanel::kWidth, TframeAboutPanel::kHeight);
  connect(TframeAboutPanel1->Button1, &QPushButton::clicked, this, [this] { TframeAboutPanel1Button1Click(); });
  TframeAboutPanel1->on_link_clicked = [this](const QString&) { lblHyperLinkClick(); };
  FormCreate();
}

void TfrmSplash::FormCreate() {
  const std::string name_and_version = std::string(kProductName) + " " + kVersionText;
  TframeAboutPanel1->lblApplicationName->setText(DisplayText(name_and_version));
  TframeAboutPanel1->lblApplicationName->adjustSize();
  TframeAboutPanel1->lblBuild->setText(DisplayText(std::string(kVersionText) + " Build " + kBuildText));
  TframeAboutPanel1->lblBuild->adjustSize();
  setWindowTitle(DisplayText("关于 " + name_and_version + " ..."));
}

// Only hides the window: the same window and texts come back at the next showing.
void TfrmSplash::TframeAboutPanel1Button1Click() { accept(); }

// The label shows the address as people write it ("github.com/..."); it is opened the way a
// browser's address bar would read it. Whatever the shell makes of it, nothing is reported.
void TfrmSplash::lblHyperLinkClick() { shell_.Open(QUrl::fromUserInput(TframeAboutPanel1->lblHyperLink->text())); }

}  // namespace rsf::ui
