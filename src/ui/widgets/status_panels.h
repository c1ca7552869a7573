// The status bar with four fixed-width panels: a fixed label, then activity, elapsed time and
// remaining time. The last panel runs on to the right edge.
#pragma once

#include <QStatusBar>
#include <array>

class QLabel;

namespace rsf::ui {

class StatusPanels final : public QStatusBar {
 public:
  static constexpr int kPanelCount = 4;
  explicit StatusPanels(QWidget* parent = nullptr);

  void SetText(int panel, const QString& text);
  QString Text(int panel) const;
  // The hint of a panel: its whole text.
  QString Hint(int panel) const;
  int PanelWidth(int panel) const;

 private:
  std::array<QLabel*, kPanelCount> panels_{};
};

}  // namespace rsf::ui
