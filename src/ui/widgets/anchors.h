// Anchored placement of child widgets: each child keeps a fixed distance to the parent edges it
// is anchored to, so it moves or stretches when the parent is resized. Positions are measured
// from the parent's outer corner, as the window was laid out.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace rsf::ui {

enum Anchor : int { kAnchorLeft = 1, kAnchorTop = 2, kAnchorRight = 4, kAnchorBottom = 8 };
inline constexpr int kAnchorLeftTop = kAnchorLeft | kAnchorTop;
inline constexpr int kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom;

class Anchors final : public QObject {
  Q_OBJECT

 public:
  // `design_size` is the parent's size for which the children's design rectangles were drawn.
  Anchors(QWidget* parent, QSize design_size);

  // Makes `child` a child of the parent at `design_rect`, anchored to the edges in `anchors`.
  void Add(QWidget* child, QRect design_rect, int anchors);
  // Moves an anchored child at run time; its distances to the anchored edges are taken anew
  // from the parent's present size.
  void SetBounds(QWidget* child, QRect rect);
  // Places every child for the parent's present size.
  void PlaceAll();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Item {
    QWidget* widget;
    int anchors;
    QRect rect;  // left, top, width, height as last set
    int right_gap;
    int bottom_gap;
  };
  Item* Find(QWidget* child);
  void Place(Item& item, QSize parent_size) const;
  static void TakeGaps(Item& item, QSize parent_size);

  QWidget* parent_;
  QSize design_size_;
  std::vector<Item> items_;
};

}  // namespace rsf::ui
