// A flat header of fixed sections above a list or a text pane. The user may drag the dividers
// but not reorder the sections.
#pragma once

#include <QHeaderView>
#include <utility>
#include <vector>

class QStandardItemModel;

namespace rsf::ui {

class HeaderControl final : public QHeaderView {
 public:
  // Sections as (text, width in pixels).
  HeaderControl(const std::vector<std::pair<QString, int>>& sections, QWidget* parent = nullptr);

  int SectionCount() const { return count(); }
  int SectionWidth(int section) const { return sectionSize(section); }
  QString SectionText(int section) const;

 private:
  QStandardItemModel* model_;
};

}  // namespace rsf::ui
