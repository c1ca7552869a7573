// The main window's layout as every front end builds it: a well-formed tree of uniquely named
// controls that, at the design size, the minimum and far beyond, stay inside their parents,
// keep a size and never overlap; the clip-type boxes in their groups' grids; and the rule that
// shares the width between the source and target boxes.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "desktop/main_window_layout.h"
#include "scan/catalogue/clip_type_table.h"

namespace rsf::desktop {
namespace {

bool Inside(const Rect& inner, Size outer) {
  return inner.left >= 0 && inner.top >= 0 && inner.Right() <= outer.width && inner.Bottom() <= outer.height;
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

TEST(MainWindowLayout, NamesAreUniqueAndEachParentComesBeforeItsChildren) {
  std::set<std::string> seen{kMainPanelName};
  for (const ControlPlace& place : MainWindowLayout()) {
    SCOPED_TRACE(place.name);
    EXPECT_TRUE(seen.contains(place.parent));
    EXPECT_TRUE(seen.insert(place.name).second);
    EXPECT_EQ(&ControlPlaceOf(place.name), &place);
  }
  EXPECT_THROW(ControlPlaceOf("comboUnknown"), std::out_of_range);
}

// Every control where the window puts it with the main panel at `panel`: anchored inside its
// parent, the source and target boxes by the resize rule.
std::map<std::string, Rect> PlacedAt(Size panel) {
  std::map<std::string, Rect> placed;
  const SourceAndTargetBoxes boxes = SourceAndTargetAtWidth(panel.width + kNominalFrameWidth, panel.width);
  for (const ControlPlace& place : MainWindowLayout()) {
    const std::string parent = place.parent;
    const Size parent_size = parent == kMainPanelName ? panel : placed.at(parent).Extent();
    Rect& rect = placed[place.name];
    rect = PlaceIn(Anchored(place.bounds, place.anchors, DesignSizeOf(parent)), parent_size);
    // The rule runs on every resize, after the anchors; the boxes' children follow it.
    if (place.name == std::string("GroupBox1")) rect = boxes.source;
    if (place.name == std::string("GroupBox2")) rect = boxes.target;
  }
  return placed;
}

class LayoutAtPanelSize : public testing::TestWithParam<Size> {};

TEST_P(LayoutAtPanelSize, ControlsStayInsideTheirParentsKeepASizeAndNeverOverlap) {
  const Size panel = GetParam();
  const std::map<std::string, Rect> placed = PlacedAt(panel);
  for (const ControlPlace& place : MainWindowLayout()) {
    SCOPED_TRACE(place.name);
    const Rect& rect = placed.at(place.name);
    const std::string parent = place.parent;
    EXPECT_TRUE(Inside(rect, parent == kMainPanelName ? panel : placed.at(parent).Extent()));
    EXPECT_GT(rect.width, 0);
    EXPECT_GT(rect.height, 0);
    for (const ControlPlace& other : MainWindowLayout()) {
      if (&other == &place || other.parent != parent) continue;
      EXPECT_FALSE(Overlap(rect, placed.at(other.name))) << other.name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(DesignMinimumAndLarge, LayoutAtPanelSize,
                         testing::Values(kMainPanelDesignSize, kMainPanelMinimumSize, Size{1601, 1200}));

TEST(MainWindowLayout, ClipTypeBoxesFitTheirGroupsWithoutSharingACell) {
  std::map<ClipTypeGroup, std::vector<Rect>> boxes;
  for (const ClipTypeRecord& type : ClipTypeTable()) {
    SCOPED_TRACE(type.name);
    const Rect rect = CheckBoxBounds(type.row, type.column);
    const char* group = type.group == ClipTypeGroup::kClassic ? "grpbxClips" : "grpbxMoreClips";
    EXPECT_TRUE(Inside(rect, ControlPlaceOf(group).bounds.Extent()));
    for (const Rect& earlier : boxes[type.group]) EXPECT_FALSE(Overlap(rect, earlier));
    boxes[type.group].push_back(rect);
  }
  EXPECT_THROW(CheckBoxBounds(kCheckBoxRows, 0), std::out_of_range);
  EXPECT_THROW(CheckBoxBounds(0, static_cast<int>(kCheckBoxColumns.size())), std::out_of_range);
}

struct ResizeCase {
  int panel_width;
  Rect source;
  Rect target;
};

class SourceAndTargetRule : public testing::TestWithParam<ResizeCase> {};

TEST_P(SourceAndTargetRule, SplitsThePanelAtItsMiddle) {
  const ResizeCase& row = GetParam();
  const SourceAndTargetBoxes boxes = SourceAndTargetAtWidth(row.panel_width + kNominalFrameWidth, row.panel_width);
  EXPECT_EQ(boxes.source, row.source);
  EXPECT_EQ(boxes.target, row.target);
  // 8 pixels from the panel's right edge, 7 or 8 from the source box.
  EXPECT_EQ(boxes.target.Right(), row.panel_width - 8);
  EXPECT_EQ(boxes.target.left - boxes.source.Right(), 8 - row.panel_width % 2);
}

INSTANTIATE_TEST_SUITE_P(DesignMinimumOddAndWide, SourceAndTargetRule,
                         testing::Values(ResizeCase{552, {8, 8, 268, 49}, {284, 8, 260, 49}},
                                         ResizeCase{464, {8, 8, 224, 49}, {240, 8, 216, 49}},
                                         ResizeCase{653, {8, 8, 319, 49}, {334, 8, 311, 49}},
                                         ResizeCase{1652, {8, 8, 818, 49}, {834, 8, 810, 49}}));

}  // namespace
}  // namespace rsf::desktop
