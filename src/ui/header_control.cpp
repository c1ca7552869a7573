// The header keeps its own one-row model so that it can stand alone above any widget.
#include "ui/header_control.h"

#include <QStandardItemModel>

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
  for (int i = 0; i < static_cast<int>(sections.size()); ++i) resizeSection(i, sections[i].second);
  setFixedHeight(kHeaderHeight);
}

QString HeaderControl::SectionText(int section) const {
  return model_->headerData(section, Qt::Horizontal).toString();
}

}  // namespace rsf::ui
