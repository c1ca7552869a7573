// The content of the About window: logo, product texts, the home-page link and the button
// that closes the window. A panel of its own so that it can be placed in any window.
#pragma once

#include <QWidget>
#include <functional>

#include "desktop/about_contents.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace rsf::ui {

class TframeAboutPanel final : public QWidget {
 public:
  explicit TframeAboutPanel(QWidget* parent = nullptr);

  QLabel* lblApplicationName;
  QLabel* lblBuild;
  QLabel* lblHyperLink;
  QPushButton* Button1;

  // Called with the link's text when the link is clicked.
  std::function<void(const QString&)> on_link_clicked;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* AddLabel(const QString& text, int left, int top);
  static void StyleLabel(QLabel& label, desktop::AboutTextStyle style);

  QGroupBox* GroupBox1;
};

}  // namespace rsf::ui
