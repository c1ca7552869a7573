// The command set of the main window: the menu bar with its shortcuts, the list's pop-up menu,
// and the wiring of menu items, buttons, keys, check boxes and list notices to the presenter.
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "desktop/window_texts.h"
#include "scan/catalogue/clip_types.h"
#include "win32/about_window.h"
#include "win32/command_ids.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

constexpr const char* kMenuTitles[] = {desktop::kMenuSource, desktop::kMenuClips,   desktop::kMenuTarget,
                                       desktop::kMenuView,   desktop::kMenuOptions, desktop::kMenuHelp,
                                       desktop::kMenuTest};

// The items of each menu, in order; an item without a caption is a separator.
struct MenuItem {
  int menu;  // index into kMenuTitles
  int id;
  const char* caption;
  const wchar_t* keys;  // the shortcut as the item shows it
};
constexpr MenuItem kMenuItems[] = {
    {0, kOpenSourceCommand, desktop::kOpenSourceCaption, L"Ctrl+O"},
    {0, kStartAnalysisCommand, desktop::kStartAnalysisCaption, L"Ctrl+A"},
    {0, 0, nullptr, nullptr},
    {0, kExitCommand, desktop::kExitCaption, nullptr},
    {1, kSelectAllCommand, desktop::kSelectAllCaption, nullptr},
    {1, kUnSelectAllCommand, desktop::kUnSelectAllCaption, nullptr},
    {1, 0, nullptr, nullptr},
    {1, kPlayCommand, desktop::kPlayCaption, nullptr},
    {2, kSelectTargetCommand, desktop::kSelectTargetCaption, L"Ctrl+T"},
    {2, kSaveClipsCommand, desktop::kSaveClipsCaption, L"Ctrl+S"},
    {3, kToolbarItem, desktop::kToolbarCaption, nullptr},
    {3, kStatusbarItem, desktop::kStatusbarCaption, nullptr},
    {4, kUseCDModeCommand, desktop::kUseCDModeCaption, nullptr},
    {4, kStartOnDropItem, desktop::kStartOnDropCaption, nullptr},
    {4, kInternalPlaybackItem, desktop::kInternalPlaybackCaption, nullptr},
    {4, kPreciseBoundariesItem, desktop::kPreciseBoundariesCaption, nullptr},
    {5, kShowHelpCommand, desktop::kShowHelpCaption, L"F1"},
    {5, kSplashShowCommand, desktop::kSplashShowCaption, L"Ctrl+I"},
    {6, kMp3ModeItem, desktop::kMp3ModeCaption, nullptr},
    {6, kIgnoreReadErrorsItem, desktop::kIgnoreReadErrorsCaption, nullptr},
};

constexpr ACCEL kAccelerators[] = {
    {FCONTROL | FVIRTKEY, 'O', kOpenSourceCommand},   {FCONTROL | FVIRTKEY, 'A', kStartAnalysisCommand},
    {FCONTROL | FVIRTKEY, 'T', kSelectTargetCommand}, {FCONTROL | FVIRTKEY, 'S', kSaveClipsCommand},
    {FCONTROL | FVIRTKEY, 'I', kSplashShowCommand},   {FVIRTKEY, VK_F1, kShowHelpCommand},
    {FVIRTKEY, VK_ESCAPE, kStopScanCommand},
};

// The option items and the option each one ticks.
constexpr std::pair<int, bool desktop::WindowOptions::*> kOptionItems[] = {
    {kStartOnDropItem, &desktop::WindowOptions::start_analysis_on_drop},
    {kInternalPlaybackItem, &desktop::WindowOptions::internal_playback_first},
    {kPreciseBoundariesItem, &desktop::WindowOptions::precise},
    {kMp3ModeItem, &desktop::WindowOptions::mp3_mode},
    {kIgnoreReadErrorsItem, &desktop::WindowOptions::ignore_read_errors},
};

void AppendItem(HMENU menu, int id, const char* caption, const wchar_t* keys) {
  if (caption == nullptr) {
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  std::wstring text = DisplayText(caption);
  if (keys != nullptr) text += std::wstring(L"\t") + keys;
  ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), text.c_str());
}

}  // namespace

void MainWindow::CreateMenus() {
  menu_bar_ = ::CreateMenu();
  for (int menu = 0; menu < static_cast<int>(std::size(kMenuTitles)); ++menu) {
    HMENU items = ::CreatePopupMenu();
    for (const MenuItem& item : kMenuItems)
      if (item.menu == menu) AppendItem(items, item.id, item.caption, item.keys);
    ::AppendMenuW(menu_bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(items), DisplayText(kMenuTitles[menu]).c_str());
  }
  ::CheckMenuItem(menu_bar_, kToolbarItem, MF_BYCOMMAND | MF_CHECKED);
  ::CheckMenuItem(menu_bar_, kStatusbarItem, MF_BYCOMMAND | MF_CHECKED);

  clip_menu_ = ::CreatePopupMenu();
  AppendItem(clip_menu_, kSelectAllCommand, desktop::kSelectAllCaption, nullptr);
  AppendItem(clip_menu_, kUnSelectAllCommand, desktop::kUnSelectAllCaption, nullptr);
  AppendItem(clip_menu_, 0, nullptr, nullptr);
  AppendItem(clip_menu_, kPlayCommand, desktop::kPlayCaption, nullptr);

  accelerators_ = ::CreateAcceleratorTableW(const_cast<ACCEL*>(kAccelerators), static_cast<int>(std::size(kAccelerators)));
}

// The window starts showing the presenter's option state.
void MainWindow::ShowOptions() {
  const desktop::WindowOptions& options = presenter_.Options();
  for (int kind = 0; kind < kClipKindCount; ++kind)
    ::CheckDlgButton(window_, ClipTypeControl(static_cast<ClipKind>(kind)),
                     options.Ticked(static_cast<ClipKind>(kind)) ? BST_CHECKED : BST_UNCHECKED);
  for (const auto& [item, option] : kOptionItems)
    ::CheckMenuItem(menu_bar_, item, MF_BYCOMMAND | (options.*option ? MF_CHECKED : MF_UNCHECKED));
  EnableControls(true);
}

void MainWindow::ToggleOption(int item, bool& option) {
  option = !option;
  ::CheckMenuItem(menu_bar_, item, MF_BYCOMMAND | (option ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::OnCommand(int id, int code) {
  const int kind = id - kFirstClipTypeControl;
  if (kind >= 0 && kind < kClipKindCount) {
    presenter_.Options().Tick(static_cast<ClipKind>(kind), ::IsDlgButtonChecked(window_, id) == BST_CHECKED);
    return;
  }
  for (const auto& [item, option] : kOptionItems) {
    if (item != id) continue;
    ToggleOption(item, presenter_.Options().*option);
    // MP3 mode greys the clip-type boxes; their ticks stay as they are.
    if (item == kMp3ModeItem) EnableControls(!busy_);
    return;
  }
  switch (id) {
    case kOpenSourceCommand:
    case kSourceBrowseControl:
      if (!presenter_.CdMode()) Command([this] { presenter_.OpenSource(); });
      break;
    case kStartAnalysisCommand: Command([this] { presenter_.StartAnalysis(); }); break;
    case kExitCommand: Command([this] { FormClose(); }); break;
    case kSelectAllCommand: Command([this] { presenter_.SelectAll(); }); break;
    case kUnSelectAllCommand: Command([this] { presenter_.UnSelectAll(); }); break;
    case kPlayCommand: Command([this] { presenter_.Play(); }); break;
    case kSelectTargetCommand:
    case kTargetBrowseControl: Command([this] { presenter_.SelectTarget(); }); break;
    case kSaveClipsCommand: Command([this] { presenter_.SaveClips(); }); break;
    case kToolbarItem:
    case kStatusbarItem: {
      const bool shown = (::GetMenuState(menu_bar_, static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) == 0;
      ::CheckMenuItem(menu_bar_, static_cast<UINT>(id), MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
      ::ShowWindow(::GetDlgItem(window_, id == kToolbarItem ? kToolBarControl : kStatusBarControl), shown ? SW_SHOW : SW_HIDE);
      PlaceControls();
      break;
    }
    case kUseCDModeCommand: {
      const bool on = (::GetMenuState(menu_bar_, kUseCDModeCommand, MF_BYCOMMAND) & MF_CHECKED) == 0;
      Command([this, on] { presenter_.UseCDMode(on); });
      break;
    }
    case kShowHelpCommand: Command([this] { presenter_.ShowHelp(); }); break;
    case kSplashShowCommand: Command([this] { ShowAbout(); }); break;
    // Esc stops a running scan at its next event round (the only key that works while it runs).
    case kStopScanCommand: presenter_.StopScan(); break;
    case kSourceFieldControl:
      if (code == EN_CHANGE) presenter_.SourceChanged();
      break;
    // Only the user's choice counts as a change, not the filling of the list.
    case kDriveListControl:
      if (code == CBN_SELCHANGE) Command([this] { presenter_.SourceChanged(); });
      break;
    default: break;
  }
}

// The list's notices: a new selection or a click on an entry shows it in the information pane,
// a double click plays it, a right click selects it and opens the pop-up menu.
void MainWindow::OnNotify(const NMHDR& notice) {
  if (notice.idFrom != kClipListControl || filling_list_) return;
  switch (notice.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(notice);
      const bool newly_selected = (change.uChanged & LVIF_STATE) != 0 && (change.uNewState & LVIS_SELECTED) != 0 &&
                                  (change.uOldState & LVIS_SELECTED) == 0;
      if (newly_selected) presenter_.ClipSelected();
      break;
    }
    case NM_CLICK:
      if (reinterpret_cast<const NMITEMACTIVATE&>(notice).iItem >= 0) presenter_.ClipSelected();
      break;
    case NM_DBLCLK:
      if (reinterpret_cast<const NMITEMACTIVATE&>(notice).iItem >= 0) Command([this] { presenter_.Play(); });
      break;
    case NM_RCLICK: {
      const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(notice);
      POINT at = click.ptAction;
      ::ClientToScreen(notice.hwndFrom, &at);
      ShowClipMenu(at);
      break;
    }
    default: break;
  }
}

void MainWindow::ShowClipMenu(POINT at) {
  ::TrackPopupMenu(clip_menu_, TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
}

void MainWindow::ShowAbout() {
  AboutWindow about(window_, dpi_, services_.shell);
  about.RunModal();
}

}  // namespace rsf::win32
