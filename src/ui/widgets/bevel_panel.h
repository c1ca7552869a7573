// A panel framed by a lowered outer and a raised inner bevel, one pixel each, the frame of the
// clip list and the information pane.
#pragma once

#include <QFrame>

namespace rsf::ui {

class BevelPanel final : public QFrame {
 public:
  explicit BevelPanel(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace rsf::ui
