// The About window: shows the product name, version and build and the home-page link. Made
// once at program start, hidden, and shown modally on demand; closing only hides it.
#pragma once

#include <QDialog>

namespace rsf::ui {

class Shell;
class TframeAboutPanel;

class TfrmSplash final : public QDialog {
 public:
  TfrmSplash(Shell& shell, QWidget* parent = nullptr);

  TframeAboutPanel* TframeAboutPanel1;

  // Sets the texts; they stay as they are for every later showing.
  void FormCreate();
  void TframeAboutPanel1Button1Click();
  void lblHyperLinkClick();

 private:
  Shell& shell_;
};

}  // namespace rsf::ui
