// The tool bar with the command pictures, the hints of the tool bar's buttons and of the
// window's fields, and the window's own icon.
#include <windows.h>
#include <commctrl.h>

#include <cmath>

#include "cd/cd_mode.h"
#include "desktop/command_pictures.h"
#include "desktop/window_texts.h"
#include "scan/catalogue/clip_type_table.h"
#include "win32/command_ids.h"
#include "win32/main_window.h"
#include "win32/picture_bitmap.h"
#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

// The buttons in order, as on the other desktop program's tool bar; 0 is a separator.
struct ToolButton {
  int id;
  int picture;
  const char* hint;
};
constexpr ToolButton kToolButtons[] = {
    {kOpenSourceCommand, desktop::kPictureOpenSource, desktop::kOpenSourceHint},
    {kStartAnalysisCommand, desktop::kPictureStartAnalysis, desktop::kStartAnalysisHint},
    {0, 0, nullptr},
    {kSelectAllCommand, desktop::kPictureSelectAll, desktop::kSelectAllHint},
    {kUnSelectAllCommand, desktop::kPictureUnSelectAll, desktop::kUnSelectAllHint},
    {kPlayCommand, desktop::kPicturePlay, desktop::kPlayHint},
    {0, 0, nullptr},
    {kSelectTargetCommand, desktop::kPictureSelectTarget, desktop::kSelectTargetHint},
    {kSaveClipsCommand, desktop::kPictureSaveClips, desktop::kSaveClipsHint},
    {0, 0, nullptr},
    {kUseCDModeCommand, desktop::kPictureCdMode, desktop::kUseCDModeHint},
    {0, 0, nullptr},
    {kShowHelpCommand, desktop::kPictureHelp, desktop::kShowHelpHint},
    {kSplashShowCommand, desktop::kPictureAbout, desktop::kSplashShowHint},
};

// The tool bar's height in design pixels, buttons for 16-pixel pictures included.
constexpr int kToolBarHeight = 30;
constexpr int kPictureSize = 16;
// Hints wider than this break into lines.
constexpr int kHintWidth = 400;

const char* FieldHint(int id) {
  switch (id) {
    case kSourceFieldControl: return desktop::kSourceFieldHint;
    case kDriveListControl: return kCdDriveListHint;
    case kTargetFieldControl: return desktop::kTargetFieldHint;
    case kClipListControl: return desktop::kClipListHint;
    case kInfoPaneControl: return desktop::kInfoPanelHint;
    default: break;
  }
  const int kind = id - kFirstClipTypeControl;
  return kind >= 0 && kind < kClipKindCount ? desktop::kClipTypesHint : nullptr;
}

}  // namespace

void MainWindow::CreateToolBar() {
  HWND bar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE,
                               0, 0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolBarControl)),
                               ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  std::vector<TBBUTTON> buttons;
  for (const ToolButton& tool : kToolButtons) {
    TBBUTTON button{};
    if (tool.id == 0) {
      button.fsStyle = BTNS_SEP;
    } else {
      button.iBitmap = tool.picture;
      button.idCommand = tool.id;
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (tool.id == kUseCDModeCommand ? BTNS_CHECK : 0));
    }
    buttons.push_back(button);
  }
  ScaleToolBar();
  ::SendMessageW(bar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
}

// The pictures at the screen's scale, in the order of desktop::CommandPicture.
void MainWindow::ScaleToolBar() {
  HWND bar = ::GetDlgItem(window_, kToolBarControl);
  const int size = Scaled(kPictureSize);
  HIMAGELIST pictures = ::ImageList_Create(size, size, ILC_COLOR32, desktop::kCommandPictureCount, 0);
  for (int picture = 0; picture < desktop::kCommandPictureCount; ++picture) {
    HBITMAP bitmap = PictureBitmap(desktop::CommandPictureDrawing(picture), size / static_cast<double>(kPictureSize));
    ::ImageList_Add(pictures, bitmap, nullptr);
    ::DeleteObject(bitmap);
  }
  ::SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures));
  if (tool_pictures_ != nullptr) ::ImageList_Destroy(tool_pictures_);
  tool_pictures_ = pictures;
  ::SendMessageW(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(size + Scaled(8), size + Scaled(7)));
  ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
  for (HWND hints : {reinterpret_cast<HWND>(::SendMessageW(bar, TB_GETTOOLTIPS, 0, 0)), hints_})
    if (hints != nullptr) ::SendMessageW(hints, TTM_SETMAXTIPWIDTH, 0, Scaled(kHintWidth));

  for (auto [which, pixels] : {std::pair{ICON_SMALL, ::GetSystemMetrics(SM_CXSMICON)},
                               std::pair{ICON_BIG, ::GetSystemMetrics(SM_CXICON)}}) {
    HICON icon = PictureIcon(desktop::CommandPictureDrawing(desktop::kPictureStartAnalysis), pixels);
    HICON old = reinterpret_cast<HICON>(::SendMessageW(window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
    if (old != nullptr) ::DestroyIcon(old);
  }
}

int MainWindow::ToolBarHeight() const {
  HWND bar = ::GetDlgItem(window_, kToolBarControl);
  // Its own style, not IsWindowVisible: the window may itself be hidden.
  return bar != nullptr && (::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE) != 0 ? Scaled(kToolBarHeight) : 0;
}

void MainWindow::EnableToolButton(int id, bool on) {
  ::SendDlgItemMessageW(window_, kToolBarControl, TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(on, 0));
}

// The fields' hints, shown while the mouse rests on them; a clip-type box shows its group's.
void MainWindow::CreateHints() {
  hints_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(hints_, TTM_SETMAXTIPWIDTH, 0, Scaled(kHintWidth));
  for (HWND control : panel_controls_) {
    const char* hint = FieldHint(::GetDlgCtrlID(control));
    if (hint == nullptr) continue;
    std::wstring text = DisplayText(hint);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    ::SendMessageW(hints_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// The tool bar's buttons ask for their hints as they are about to show them.
bool MainWindow::OnHintNeeded(const NMHDR& notice) {
  if (notice.code != TTN_GETDISPINFOW) return false;
  auto& request = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(notice));
  for (const ToolButton& tool : kToolButtons) {
    if (tool.id == 0 || static_cast<UINT_PTR>(tool.id) != notice.idFrom) continue;
    hint_text_ = DisplayText(tool.hint);
    request.lpszText = hint_text_.data();
    return true;
  }
  return false;
}

}  // namespace rsf::win32
