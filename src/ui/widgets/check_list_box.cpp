// The check list and the delegate that draws its lines with tab stops.
#include "ui/widgets/check_list_box.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>

namespace rsf::ui {
namespace {

// The list starts with tab stops every 8 list units; a unit is a quarter of the font's
// average character width.
constexpr int kInitialTabStopUnits[] = {8, 16, 24, 32, 40};
// A column's text starts this far right of its header divider, where the header's own
// section text starts.
constexpr int kPastDivider = 4;

class TabExpandingDelegate final : public QStyledItemDelegate {
 public:
  explicit TabExpandingDelegate(CheckListBox* list) : QStyledItemDelegate(list), list_(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle* style = list_->style();
    const QRect text_rect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, list_);
    const QString text = item.text;
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, list_);

    QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
    layout.setWrapMode(QTextOption::NoWrap);
    layout.setTabArray(TabsFrom(text_rect.left() - option.rect.left()));
    painter->save();
    painter->setPen(item.palette.color(QPalette::Normal, (item.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                             : QPalette::Text));
    const QRect line(text_rect.left(), option.rect.top(), option.rect.right() - text_rect.left() + 1,
                     option.rect.height());
    painter->setClipRect(line);
    painter->drawText(QRectF(line), text, layout);
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QList<int> tabs;
    for (qreal tab : TabsFrom(list_->TextLeft())) tabs.push_back(static_cast<int>(tab));
    const int text_width = item.fontMetrics.size(Qt::TextExpandTabs, item.text, 0, tabs.data()).width();
    return {list_->TextLeft() + text_width + kPastDivider, CheckListBox::kEntryHeight};
  }

 private:
  // Tab positions relative to where the text starts; stops left of it are dropped.
  QList<qreal> TabsFrom(int text_left) const {
    QList<qreal> tabs;
    for (int stop : list_->TabStops())
      if (stop > text_left && (tabs.isEmpty() || stop - text_left > tabs.back())) tabs.push_back(stop - text_left);
    if (tabs.isEmpty()) tabs.push_back(1);
    return tabs;
  }

  CheckListBox* list_;
};

}  // namespace

CheckListBox::CheckListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new TabExpandingDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setMinimumWidth(10);
  const int unit_width = QFontMetrics(font()).averageCharWidth();
  for (int units : kInitialTabStopUnits) tab_stops_.push_back(units * unit_width / 4);
}

void CheckListBox::AddLine(const QString& line) {
  auto* entry = new QListWidgetItem(line, this);
  entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  entry->setCheckState(Qt::Unchecked);
}

bool CheckListBox::Ticked(int entry) const { return item(entry)->checkState() == Qt::Checked; }

void CheckListBox::SetTicked(int entry, bool ticked) { item(entry)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked); }

void CheckListBox::SetAllTicked(bool ticked) {
  for (int i = 0; i < count(); ++i) SetTicked(i, ticked);
}

std::vector<bool> CheckListBox::Ticks() const {
  std::vector<bool> ticks;
  for (int i = 0; i < count(); ++i) ticks.push_back(Ticked(i));
  return ticks;
}

int CheckListBox::SelectedEntry() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.front());
}

void CheckListBox::UpdateFromHeader(const QHeaderView& header) {
  int right_edge = 0;
  for (int section = 0; section < header.count(); ++section) {
    right_edge += header.sectionSize(section);
    const auto k = static_cast<std::size_t>(section);
    if (k < tab_stops_.size()) tab_stops_[k] = right_edge + kPastDivider;
  }
  scheduleDelayedItemsLayout();
  viewport()->update();
}

int CheckListBox::TextLeft() const {
  QStyleOptionViewItem item;
  initViewItemOption(&item);
  item.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  item.rect = QRect(0, 0, qMax(viewport()->width(), 200), kEntryHeight);
  item.text = QStringLiteral("x");
  return style()->subElementRect(QStyle::SE_ItemViewItemText, &item, this).left();
}

// A click anywhere in the list counts, also below the last entry: the pane then shows the
// selected entry, or nothing when there is none.
void CheckListBox::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) emit EntryClicked();
}

void CheckListBox::keyPressEvent(QKeyEvent* event) {
  const int before = currentRow();
  QListWidget::keyPressEvent(event);
  if (currentRow() != before) emit EntryClicked();
}

}  // namespace rsf::ui
