// Anchored placement, the rule every front end resizes its windows by: a control keeps its
// distance to each parent edge it is anchored to, so it moves with an edge it follows alone and
// stretches between two opposite edges it follows both. Rectangles are in pixels from the
// parent's outer corner, as the windows were designed.
#pragma once

namespace rsf::desktop {

struct Size {
  int width = 0;
  int height = 0;

  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  // One past the last column and row, as the window's coordinates count.
  constexpr int Right() const { return left + width; }
  constexpr int Bottom() const { return top + height; }
  constexpr Size Extent() const { return {width, height}; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The parent edges a control follows, or-ed together.
enum Anchor : int { kAnchorLeft = 1, kAnchorTop = 2, kAnchorRight = 4, kAnchorBottom = 8 };
inline constexpr int kAnchorLeftTop = kAnchorLeft | kAnchorTop;
inline constexpr int kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom;

// A control's rectangle with its distances to the parent's right and bottom edges, taken when
// the rectangle was set.
struct AnchoredPlace {
  Rect rect;
  int anchors = kAnchorLeftTop;
  int right_gap = 0;
  int bottom_gap = 0;
};

// `rect` inside a parent of `parent_size`, with the distances it keeps from now on.
AnchoredPlace Anchored(Rect rect, int anchors, Size parent_size);

// Where the control lies once the parent has `parent_size`; a stretched side never goes below
// zero.
Rect PlaceIn(const AnchoredPlace& place, Size parent_size);

}  // namespace rsf::desktop
