// Anchored placement: distances to anchored edges are kept across every resize of the parent.
#include "ui/widgets/anchors.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace rsf::ui {

Anchors::Anchors(QWidget* parent, desktop::Size design_size)
    : QObject(parent), parent_(parent), design_size_(design_size) {
  parent_->installEventFilter(this);
}

void Anchors::Add(QWidget* child, desktop::Rect design_rect, int anchors) {
  child->setParent(parent_);
  items_.push_back({child, desktop::Anchored(design_rect, anchors, design_size_)});
  Place(items_.back());
}

void Anchors::SetBounds(QWidget* child, desktop::Rect rect) {
  Item* item = Find(child);
  if (item == nullptr) {
    child->setGeometry(rect.left, rect.top, rect.width, rect.height);
    return;
  }
  item->place = desktop::Anchored(rect, item->place.anchors, ParentSize());
  Place(*item);
}

void Anchors::PlaceAll() {
  for (const Item& item : items_) Place(item);
}

bool Anchors::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent_ && event->type() == QEvent::Resize) PlaceAll();
  return false;
}

Anchors::Item* Anchors::Find(QWidget* child) {
  auto it = std::find_if(items_.begin(), items_.end(), [&](const Item& item) { return item.widget == child; });
  return it == items_.end() ? nullptr : &*it;
}

desktop::Size Anchors::ParentSize() const { return {parent_->width(), parent_->height()}; }

void Anchors::Place(const Item& item) const {
  const desktop::Rect rect = desktop::PlaceIn(item.place, ParentSize());
  item.widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
  // A hidden widget hears of its new size only when shown; its own anchored children are
  // placed now, so that whoever reads their geometry next sees where they will be.
  if (auto* inner = item.widget->findChild<Anchors*>(QString(), Qt::FindDirectChildrenOnly)) inner->PlaceAll();
}

}  // namespace rsf::ui
