// Anchored placement: the distances to the anchored edges are kept across every resize.
#include "desktop/anchored_placement.h"

#include <algorithm>

namespace rsf::desktop {

AnchoredPlace Anchored(Rect rect, int anchors, Size parent_size) {
  return {rect, anchors, parent_size.width - rect.Right(), parent_size.height - rect.Bottom()};
}

Rect PlaceIn(const AnchoredPlace& place, Size parent_size) {
  Rect rect = place.rect;
  if (place.anchors & kAnchorRight) {
    if (place.anchors & kAnchorLeft)
      rect.width = parent_size.width - rect.left - place.right_gap;
    else
      rect.left = parent_size.width - place.right_gap - rect.width;
  }
  if (place.anchors & kAnchorBottom) {
    if (place.anchors & kAnchorTop)
      rect.height = parent_size.height - rect.top - place.bottom_gap;
    else
      rect.top = parent_size.height - place.bottom_gap - rect.height;
  }
  rect.width = std::max(rect.width, 0);
  rect.height = std::max(rect.height, 0);
  return rect;
}

}  // namespace rsf::desktop
