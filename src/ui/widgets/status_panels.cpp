// Four sunken labels in a status bar 19 pixels high.
#include "ui/widgets/status_panels.h"

#include <QLabel>

#include "scan/engine/scan_observer.h"
#include "ui/display_text.h"
#include "desktop/window_texts.h"

namespace rsf::ui {
namespace {

constexpr int kBarHeight = 19;
constexpr std::array<int, StatusPanels::kPanelCount> kPanelWidths = {40, 240, 130, 50};
constexpr std::array<const char*, StatusPanels::kPanelCount> kInitialTexts = {desktop::kStatusLabel, desktop::kStatusIdle,
                                                                              kStatusElapsed, kStatusRemaining};

}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
  setFixedHeight(kBarHeight);
  for (int i = 0; i < kPanelCount; ++i) {
    auto* label = new QLabel(DisplayText(kInitialTexts[i]), this);
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setContentsMargins(2, 0, 2, 0);
    const bool last = i == kPanelCount - 1;
    if (last)
      label->setMinimumWidth(kPanelWidths[i]);
    else
      label->setFixedWidth(kPanelWidths[i]);
    addWidget(label, last ? 1 : 0);
    panels_[i] = label;
  }
}

// A text longer than its panel is read whole in the hint.
void StatusPanels::SetText(int panel, const QString& text) {
  panels_.at(panel)->setText(text);
  panels_.at(panel)->setToolTip(text);
}

QString StatusPanels::Text(int panel) const { return panels_.at(panel)->text(); }

QString StatusPanels::Hint(int panel) const { return panels_.at(panel)->toolTip(); }

int StatusPanels::PanelWidth(int panel) const { return panels_.at(panel)->width(); }

}  // namespace rsf::ui
