// The header keeps its own one-row model so that it can stand alone above any widget.
#include "ui/widgets/header_control.h"

#include <QStandardItemModel>
#include <algorithm>
#include <numeric>

namespace rsf::ui {
namespace {

constexpr int kHeaderHeight = 17;

}  // namespace

HeaderControl::HeaderControl(const std::vector<std::pair<QString, int>>& sections, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), model_(new QStandardItemModel(0, static_cast<int>(sections.size()), this)) {
  for (int i = 0; i < static_cast<int>(sections.size()); ++i)
    model_->setHeaderData(i, Qt::Horizontal, sections[i].first);
  setModel(model_);
  setSectionsMovable(false);
  setSectionsClickable(false);
  setHighlightSections(false);
  setStretchLastSection(false);
  setMinimumSectionSize(0);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setSectionResizeMode(QHeaderView::Interactive);
  for (int i = 0; i < static_cast<int>(sections.size()); ++i) {
    resizeSection(i, sections[i].second);
    drawn_widths_.push_back(sections[i].second);
  }
  setFixedHeight(kHeaderHeight);
}

void HeaderControl::SetGrowsWithWidth(bool grows) {
  grows_ = grows;
  Spread();
}

void HeaderControl::resizeEvent(QResizeEvent* event) {
  QHeaderView::resizeEvent(event);
  Spread();
}

// Up to the drawn total the sections keep their drawn widths; beyond it each takes its share of
// the width, the last one what rounding leaves.
void HeaderControl::Spread() {
  if (!grows_ || drawn_widths_.empty()) return;
  const int drawn = std::accumulate(drawn_widths_.begin(), drawn_widths_.end(), 0);
  const int room = std::max(width(), drawn);
  int given = 0;
  for (std::size_t i = 0; i + 1 < drawn_widths_.size(); ++i) {
    const int share = static_cast<int>(static_cast<long long>(drawn_widths_[i]) * room / drawn);
    resizeSection(static_cast<int>(i), share);
    given += share;
  }
  resizeSection(static_cast<int>(drawn_widths_.size() - 1), room - given);
}

QString HeaderControl::SectionText(int section) const {
  return model_->headerData(section, Qt::Horizontal).toString();
}

}  // namespace rsf::ui
