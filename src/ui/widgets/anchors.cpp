// Anchored placement: distances to anchored edges are kept across every resize of the parent.
#include "ui/widgets/anchors.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace rsf::ui {

Anchors::Anchors(QWidget* parent, QSize design_size) : QObject(parent), parent_(parent), design_size_(design_size) {
  parent_->installEventFilter(this);
}

void Anchors::Add(QWidget* child, QRect design_rect, int anchors) {
  child->setParent(parent_);
  Item item{child, anchors, design_rect, 0, 0};
  TakeGaps(item, design_size_);
  items_.push_back(item);
  Place(items_.back(), parent_->size());
}

void Anchors::SetBounds(QWidget* child, QRect rect) {
  Item* item = Find(child);
  if (item == nullptr) {
    child->setGeometry(rect);
    return;
  }
  item->rect = rect;
  TakeGaps(*item, parent_->size());
  Place(*item, parent_->size());
}

void Anchors::PlaceAll() {
  for (Item& item : items_) Place(item, parent_->size());
}

bool Anchors::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent_ && event->type() == QEvent::Resize) PlaceAll();
  return false;
}

Anchors::Item* Anchors::Find(QWidget* child) {
  auto it = std::find_if(items_.begin(), items_.end(), [&](const Item& item) { return item.widget == child; });
  return it == items_.end() ? nullptr : &*it;
}

void Anchors::TakeGaps(Item& item, QSize parent_size) {
  item.right_gap = parent_size.width() - (item.rect.x() + item.rect.width());
  item.bottom_gap = parent_size.height() - (item.rect.y() + item.rect.height());
}

void Anchors::Place(Item& item, QSize parent_size) const {
  int x = item.rect.x();
  int width = item.rect.width();
  if (item.anchors & kAnchorRight) {
    if (item.anchors & kAnchorLeft)
      width = parent_size.width() - x - item.right_gap;
    else
      x = parent_size.width() - item.right_gap - width;
  }
  int y = item.rect.y();
  int height = item.rect.height();
  if (item.anchors & kAnchorBottom) {
    if (item.anchors & kAnchorTop)
      height = parent_size.height() - y - item.bottom_gap;
    else
      y = parent_size.height() - item.bottom_gap - height;
  }
  item.widget->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
  // A hidden widget hears of its new size only when shown; its own anchored children are
  // placed now, so that whoever reads their geometry next sees where they will be.
  if (auto* inner = item.widget->findChild<Anchors*>(QString(), Qt::FindDirectChildrenOnly)) inner->PlaceAll();
}

}  // namespace rsf::ui
