// A flat header of sections above a list or a text pane. The user may drag the dividers but not
// reorder the sections. A header that grows with its list spreads its sections over the room
// when it is wider than they were drawn for, in their drawn proportions.
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

  // Whether the sections spread over a width beyond their drawn total (off at first).
  void SetGrowsWithWidth(bool grows);

  int SectionCount() const { return count(); }
  int SectionWidth(int section) const { return sectionSize(section); }
  QString SectionText(int section) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Spread();

  QStandardItemModel* model_;
  std::vector<int> drawn_widths_;
  bool grows_ = false;
};

}  // namespace rsf::ui
