// The main window as it was designed, for every front end to build it from: each control the
// window places by hand with its parent, its rectangle in the parent's design and the edges it
// follows, the sizes the design was drawn for, the grid of the clip-type check boxes, and the
// rule that shares the width between the source and target boxes.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "desktop/anchored_placement.h"

namespace rsf::desktop {

// The layout was drawn for a window frame 4 pixels wide on each side under a caption of 19:
// outer size 560 x 467, and the group of the further clip types below the first group adds
// kMoreTypesHeight. The frame the window manager adds varies, so the window takes the client
// size of that frame and its resize rule counts with the same nominal frame.
inline constexpr int kMoreTypesHeight = 119;
inline constexpr int kOuterWidth = 560;
inline constexpr int kOuterHeight = 467 + kMoreTypesHeight;
inline constexpr int kNominalFrameWidth = 8;
inline constexpr int kNominalFrameHeight = 27;

// The panel between tool bar and status bar that holds every control below; the rectangles were
// taken with the panel at its design size, and the window keeps it at least at its minimum.
inline constexpr char kMainPanelName[] = "panelMain";
inline constexpr Size kMainPanelDesignSize{552, 372 + kMoreTypesHeight};
inline constexpr Size kMainPanelMinimumSize{464, 255 + kMoreTypesHeight};

// pnlMiddle holds the clip list and the information pane on either side of a splitter; the list
// starts at its own width and the pane takes the rest.
inline constexpr int kSplitterWidth = 8;
inline constexpr int kClipPanelWidth = 241;

struct ControlPlace {
  const char* name;    // the control's name in every front end: "edtSourceFile"
  const char* parent;  // kMainPanelName or an earlier control's name
  Rect bounds;         // in the parent at its design size
  int anchors;         // the parent edges it follows (Anchor bits)
};

// Every control placed by hand, each after its parent, in the order the window makes them
// (which is the order the focus moves in).
std::span<const ControlPlace> MainWindowLayout();
// The place of the control named `name`; std::out_of_range for a name the layout lacks.
const ControlPlace& ControlPlaceOf(std::string_view name);
// The size of `parent` for which its children's rectangles were drawn: the main panel's design
// size, or the parent control's own design rectangle.
Size DesignSizeOf(std::string_view parent);

// The clip-type check boxes lie in a grid inside their group box (grpbxClips for the classic
// types, grpbxMoreClips for the further ones); the clip-type table gives each its row and column.
struct CheckBoxColumn {
  int left;
  int width;
};
inline constexpr int kCheckBoxGridTop = 24;
inline constexpr int kCheckBoxRowPitch = 20;
inline constexpr int kCheckBoxHeight = 17;
inline constexpr std::array<CheckBoxColumn, 4> kCheckBoxColumns{{{16, 117}, {136, 117}, {256, 93}, {352, 117}}};
inline constexpr int kCheckBoxRows = 4;
// The box in `row` and `column` of its group's grid; std::out_of_range outside the grid.
Rect CheckBoxBounds(int row, int column);

// On every resize the source and target boxes are laid side by side at about half the width
// each: the target box from 8 pixels right of the panel's middle to 16 short of the window's
// outer right edge, the source box from its own left to 8 short of where the target box starts.
// `outer_width` is the window's width with its (nominal) frame, `panel_width` the main panel's.
struct SourceAndTargetBoxes {
  Rect source;  // GroupBox1
  Rect target;  // GroupBox2
};
SourceAndTargetBoxes SourceAndTargetAtWidth(int outer_width, int panel_width);

}  // namespace rsf::desktop
