// Anchored placement: a control follows the parent edges it is anchored to, for every kind of
// edge set, and never gets a negative size when the parent shrinks past it.
#include <gtest/gtest.h>

#include "desktop/anchored_placement.h"

namespace rsf::desktop {
namespace {

struct AnchorCase {
  int anchors;
  Size parent;
  Rect expected;
};

class AnchoredPlacement : public testing::TestWithParam<AnchorCase> {};

// A control at {10, 20, 30, 40} in a parent drawn 100 x 100: 60 from its right edge, 40 from
// its bottom; placed in the size it was drawn for, it stays where it was drawn.
TEST_P(AnchoredPlacement, KeepsTheDistancesToTheAnchoredEdges) {
  constexpr Rect kDrawn{10, 20, 30, 40};
  const AnchoredPlace place = Anchored(kDrawn, GetParam().anchors, {100, 100});
  EXPECT_EQ(PlaceIn(place, {100, 100}), kDrawn);
  EXPECT_EQ(PlaceIn(place, GetParam().parent), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(EdgeSets, AnchoredPlacement,
                         testing::Values(AnchorCase{kAnchorLeftTop, {150, 120}, {10, 20, 30, 40}},
                                         AnchorCase{kAnchorTop | kAnchorRight, {150, 120}, {60, 20, 30, 40}},
                                         AnchorCase{kAnchorLeft | kAnchorBottom, {150, 120}, {10, 40, 30, 40}},
                                         AnchorCase{kAnchorLeftTop | kAnchorRight, {150, 120}, {10, 20, 80, 40}},
                                         AnchorCase{kAnchorAll, {150, 120}, {10, 20, 80, 60}},
                                         AnchorCase{kAnchorRight | kAnchorBottom, {80, 90}, {-10, 10, 30, 40}},
                                         AnchorCase{kAnchorAll, {50, 50}, {10, 20, 0, 0}}));

}  // namespace
}  // namespace rsf::desktop
