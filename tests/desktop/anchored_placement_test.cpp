// Anchored placement: a control follows the parent edges it is anchored to, for every set of
// edges, and never gets a negative size when the parent shrinks past it.
#include <gtest/gtest.h>

#include <string>

#include "desktop/anchored_placement.h"

namespace rsf::desktop {
namespace {

struct AnchorCase {
  const char* edges;
  int anchors;
  Size parent;
  Rect expected;
};

// A control at {10, 20, 30, 40} in a parent drawn 100 x 100: 60 from its right edge, 40 from
// its bottom.
constexpr Rect kDesigned{10, 20, 30, 40};
constexpr Size kDesignParent{100, 100};

class AnchoredPlacement : public testing::TestWithParam<AnchorCase> {};

TEST_P(AnchoredPlacement, KeepsTheDistancesToTheAnchoredEdges) {
  const AnchorCase& row = GetParam();
  const AnchoredPlace place = Anchored(kDesigned, row.anchors, kDesignParent);
  EXPECT_EQ(PlaceIn(place, kDesignParent), kDesigned);
  EXPECT_EQ(PlaceIn(place, row.parent), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEdgeSet, AnchoredPlacement,
    testing::Values(AnchorCase{"none stays put", 0, {150, 120}, {10, 20, 30, 40}},
                    AnchorCase{"left and top stay put", kAnchorLeftTop, {150, 120}, {10, 20, 30, 40}},
                    AnchorCase{"right moves", kAnchorTop | kAnchorRight, {150, 120}, {60, 20, 30, 40}},
                    AnchorCase{"bottom moves", kAnchorLeft | kAnchorBottom, {150, 120}, {10, 40, 30, 40}},
                    AnchorCase{"left and right stretch", kAnchorLeftTop | kAnchorRight, {150, 120}, {10, 20, 80, 40}},
                    AnchorCase{"all stretch", kAnchorAll, {150, 120}, {10, 20, 80, 60}},
                    AnchorCase{"shrinking moves left", kAnchorRight | kAnchorBottom, {80, 90}, {-10, 10, 30, 40}},
                    AnchorCase{"shrinking past the gaps stops at zero", kAnchorAll, {50, 50}, {10, 20, 0, 0}}),
    [](const testing::TestParamInfo<AnchorCase>& info) {
      std::string name = info.param.edges;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

}  // namespace
}  // namespace rsf::desktop
