// The main window's design: control rectangles in pixels inside their parents, as drawn.
#include "desktop/main_window_layout.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace rsf::desktop {
namespace {

constexpr ControlPlace kMainWindowLayout[] = {
    {"GroupBox1", "panelMain", {8, 8, 241, 49}, kAnchorLeftTop},
    {"edtSourceFile", "GroupBox1", {8, 16, 193, 21}, kAnchorLeftTop | kAnchorRight},
    {"btnSourceBrowse", "GroupBox1", {212, 16, 21, 21}, kAnchorTop | kAnchorRight},
    {"GroupBox2", "panelMain", {256, 8, 287, 49}, kAnchorLeftTop | kAnchorRight},
    {"edtTargetFiles", "GroupBox2", {8, 16, 239, 21}, kAnchorLeftTop | kAnchorRight},
    {"btnTargetBrowse", "GroupBox2", {258, 16, 21, 21}, kAnchorTop | kAnchorRight},
    {"pnlMiddle", "panelMain", {8, 64, 534, 177}, kAnchorAll},
    {"grpbxClips", "panelMain", {8, 243, 535, 97}, kAnchorLeft | kAnchorRight | kAnchorBottom},
    {"grpbxMoreClips", "panelMain", {8, 342, 535, kMoreTypesHeight - 2}, kAnchorLeft | kAnchorRight | kAnchorBottom},
    {"Gauge1", "panelMain", {8, 345 + kMoreTypesHeight, 536, 19}, kAnchorLeft | kAnchorRight | kAnchorBottom},
};

}  // namespace

std::span<const ControlPlace> MainWindowLayout() { return kMainWindowLayout; }

const ControlPlace& ControlPlaceOf(std::string_view name) {
  const auto* place = std::ranges::find_if(kMainWindowLayout, [&](const ControlPlace& control) { return control.name == name; });
  if (place == std::end(kMainWindowLayout))
    throw std::out_of_range("the main window's layout has no control " + std::string(name));
  return *place;
}

Size DesignSizeOf(std::string_view parent) {
  return parent == kMainPanelName ? kMainPanelDesignSize : ControlPlaceOf(parent).bounds.Extent();
}

Rect CheckBoxBounds(int row, int column) {
  if (row < 0 || row >= kCheckBoxRows) throw std::out_of_range("check-box grid row " + std::to_string(row));
  const CheckBoxColumn& place = kCheckBoxColumns.at(static_cast<std::size_t>(column));
  return {place.left, kCheckBoxGridTop + row * kCheckBoxRowPitch, place.width, kCheckBoxHeight};
}

SourceAndTargetBoxes SourceAndTargetAtWidth(int outer_width, int panel_width) {
  const Rect& source = ControlPlaceOf("GroupBox1").bounds;
  const Rect& target = ControlPlaceOf("GroupBox2").bounds;
  const int target_left = panel_width / 2 + 8;
  return {{source.left, source.top, outer_width - target_left - 8, source.height},
          {target_left, target.top, outer_width - target_left - 16, target.height}};
}

}  // namespace rsf::desktop
