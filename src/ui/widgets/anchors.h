// Anchored placement of child widgets: each child keeps a fixed distance to the parent edges it
// is anchored to, so it moves or stretches when the parent is resized (the desktop core's rule,
// desktop/anchored_placement.h). Positions are measured from the parent's outer corner, as the
// window was laid out.
#pragma once

#include <QObject>
#include <vector>

#include "desktop/anchored_placement.h"

class QWidget;

namespace rsf::ui {

class Anchors final : public QObject {
  Q_OBJECT

 public:
  // `design_size` is the parent's size for which the children's design rectangles were drawn.
  Anchors(QWidget* parent, desktop::Size design_size);

  // Makes `child` a child of the parent at `design_rect`, anchored to the edges in `anchors`.
  void Add(QWidget* child, desktop::Rect design_rect, int anchors);
  // Moves an anchored child at run time; its distances to the anchored edges are taken anew
  // from the parent's present size.
  void SetBounds(QWidget* child, desktop::Rect rect);
  // Places every child for the parent's present size.
  void PlaceAll();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Item {
    QWidget* widget;
    desktop::AnchoredPlace place;
  };
  Item* Find(QWidget* child);
  void Place(const Item& item) const;
  desktop::Size ParentSize() const;

  QWidget* parent_;
  desktop::Size design_size_;
  std::vector<Item> items_;
};

}  // namespace rsf::ui
