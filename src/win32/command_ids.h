// The identifiers of the main window's menu items, accelerators and controls: what WM_COMMAND
// and WM_NOTIFY carry, and what GetDlgItem finds a control by.
#pragma once

#include "scan/catalogue/clip_types.h"

namespace rsf::win32 {

enum CommandId : int {
  // Commands of the menus, buttons and keys.
  kOpenSourceCommand = 100,
  kStartAnalysisCommand,
  kExitCommand,
  kSelectAllCommand,
  kUnSelectAllCommand,
  kPlayCommand,
  kSelectTargetCommand,
  kSaveClipsCommand,
  kToolbarItem,
  kStatusbarItem,
  kUseCDModeCommand,
  kStartOnDropItem,
  kInternalPlaybackItem,
  kPreciseBoundariesItem,
  kShowHelpCommand,
  kSplashShowCommand,
  kMp3ModeItem,
  kIgnoreReadErrorsItem,
  kStopScanCommand,  // Esc

  // Controls.
  kSourceGroupControl = 200,
  kSourceFieldControl,
  kSourceBrowseControl,
  kDriveListControl,
  kTargetGroupControl,
  kTargetFieldControl,
  kTargetBrowseControl,
  kClipListControl,
  kInfoHeaderControl,
  kInfoPaneControl,
  kClipTypesGroupControl,
  kMoreClipTypesGroupControl,
  kGaugeControl,
  kStatusBarControl,
  kToolBarControl,
  // The clip-type check boxes, one per ClipKind from here on.
  kFirstClipTypeControl = 300,
};

constexpr int ClipTypeControl(ClipKind kind) { return kFirstClipTypeControl + static_cast<int>(kind); }

}  // namespace rsf::win32
