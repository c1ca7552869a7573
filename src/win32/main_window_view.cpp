// What the presenter asks of the main window (desktop::MainView): the busy state, the clip list
// and its information pane, the fields and the drive list, CD mode, the gauge, the status bar.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "win32/command_ids.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

constexpr UINT kUnticked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);

std::wstring ControlText(HWND control) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)), L'\0');
  ::GetWindowTextW(control, text.data(), static_cast<int>(text.size() + 1));
  return text;
}

void SetAllTicks(HWND list, UINT tick) {
  LVITEMW state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = tick;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

}  // namespace

// Busy: hourglass, and nothing to click but the close box; Esc reaches the window, which holds
// the focus meanwhile.
void MainWindow::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) focus_before_busy_ = ::GetFocus();
  EnableControls(!busy);
  ::EnableWindow(::GetDlgItem(window_, kToolBarControl), !busy);
  for (int menu = 0; menu < ::GetMenuItemCount(menu_bar_); ++menu)
    ::EnableMenuItem(menu_bar_, static_cast<UINT>(menu), MF_BYPOSITION | (busy ? MF_GRAYED : MF_ENABLED));
  ::DrawMenuBar(window_);
  ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
  if (busy) {
    ::SetFocus(window_);
    RepaintNow();
  } else if (focus_before_busy_ != nullptr && ::IsWindowEnabled(focus_before_busy_)) {
    ::SetFocus(focus_before_busy_);
  }
}

// The clip-type boxes stay greyed while MP3 mode is on.
void MainWindow::EnableControls(bool on) {
  for (HWND control : panel_controls_) {
    const int kind = ::GetDlgCtrlID(control) - kFirstClipTypeControl;
    const bool type_box = kind >= 0 && kind < kClipKindCount;
    ::EnableWindow(control, on && !(type_box && presenter_.Options().mp3_mode));
  }
}

void MainWindow::ClearClipList() {
  filling_list_ = true;
  ::SendDlgItemMessageW(window_, kClipListControl, LVM_DELETEALLITEMS, 0, 0);
  filling_list_ = false;
  ::SetDlgItemTextW(window_, kInfoPaneControl, L"");
}

void MainWindow::StartClipList() { ClearClipList(); }

// The core writes a line as its columns separated by tabs: "文件 #1\tAVI 视频\t210 KByte".
void MainWindow::AddClipLine(const std::string& line) {
  HWND list = ::GetDlgItem(window_, kClipListControl);
  filling_list_ = true;
  const int row = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  std::size_t start = 0;
  for (int column = 0; start <= line.size(); ++column) {
    const std::size_t tab = std::min(line.find('\t', start), line.size());
    std::wstring text = Wide(std::string_view(line).substr(start, tab - start));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text.data();
    ::SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    start = tab + 1;
  }
  filling_list_ = false;
}

void MainWindow::TickAllClips() { SetAllTicks(::GetDlgItem(window_, kClipListControl), kTicked); }

void MainWindow::UntickAllClips() { SetAllTicks(::GetDlgItem(window_, kClipListControl), kUnticked); }

std::vector<bool> MainWindow::ClipTicks() const {
  HWND list = ::GetDlgItem(window_, kClipListControl);
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  std::vector<bool> ticks;
  for (int row = 0; row < count; ++row)
    ticks.push_back(static_cast<UINT>(::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK)) ==
                    kTicked);
  return ticks;
}

int MainWindow::SelectedClip() const {
  return static_cast<int>(::SendDlgItemMessageW(window_, kClipListControl, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                LVNI_SELECTED));
}

void MainWindow::ShowClipDetail(const std::vector<std::string>& lines) {
  std::wstring text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += L"\r\n";
    text += Wide(line);
  }
  ::SetDlgItemTextW(window_, kInfoPaneControl, text.c_str());
}

std::string MainWindow::SourcePath() const { return Utf8(ControlText(::GetDlgItem(window_, kSourceFieldControl))); }

void MainWindow::SetSourcePath(const std::string& path) {
  ::SetDlgItemTextW(window_, kSourceFieldControl, Wide(path).c_str());
}

std::string MainWindow::TargetPath() const { return Utf8(ControlText(::GetDlgItem(window_, kTargetFieldControl))); }

void MainWindow::SetTargetPath(const std::string& path) {
  ::SetDlgItemTextW(window_, kTargetFieldControl, Wide(path).c_str());
}

// The drive entries are kept byte for byte; the list shows them for the eye only.
void MainWindow::SetDriveEntries(const std::vector<std::string>& entries) {
  HWND drives = ::GetDlgItem(window_, kDriveListControl);
  ::SendMessageW(drives, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries)
    ::SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
  drive_entries_ = entries;
}

void MainWindow::SelectDrive(int index) {
  ::SendDlgItemMessageW(window_, kDriveListControl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string MainWindow::SelectedDriveEntry() const {
  const auto index = static_cast<int>(::SendDlgItemMessageW(window_, kDriveListControl, CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= static_cast<int>(drive_entries_.size())) return {};
  return drive_entries_[static_cast<std::size_t>(index)];
}

// Drops are accepted in file mode only.
void MainWindow::ShowCdMode(bool on) {
  ::CheckMenuItem(menu_bar_, kUseCDModeCommand, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  ::EnableMenuItem(menu_bar_, kOpenSourceCommand, MF_BYCOMMAND | (on ? MF_GRAYED : MF_ENABLED));
  ::SendDlgItemMessageW(window_, kToolBarControl, TB_CHECKBUTTON, kUseCDModeCommand, MAKELPARAM(on, 0));
  EnableToolButton(kOpenSourceCommand, !on);
  ::ShowWindow(::GetDlgItem(window_, kDriveListControl), on ? SW_SHOW : SW_HIDE);
  for (int file_control : {kSourceFieldControl, kSourceBrowseControl})
    ::ShowWindow(::GetDlgItem(window_, file_control), on ? SW_HIDE : SW_SHOW);
  ::DragAcceptFiles(window_, on ? FALSE : TRUE);
}

// The bar shows whole percents of the maximum, which may be far beyond an int.
void MainWindow::SetGaugeMaximum(std::int64_t maximum) {
  gauge_maximum_ = maximum;
  SetGaugeProgress(gauge_position_);
}

void MainWindow::SetGaugeProgress(std::int64_t position) {
  gauge_position_ = position;
  const std::int64_t percent =
      gauge_maximum_ <= 0 ? 0 : std::clamp<std::int64_t>(position, 0, gauge_maximum_) * 100 / gauge_maximum_;
  ::SendDlgItemMessageW(window_, kGaugeControl, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void MainWindow::SetStatus(int panel, const std::string& text) {
  const std::wstring shown = Wide(text);
  ::SendDlgItemMessageW(window_, kStatusBarControl, SB_SETTEXTW, static_cast<WPARAM>(panel),
                        reinterpret_cast<LPARAM>(shown.c_str()));
  ::SendDlgItemMessageW(window_, kStatusBarControl, SB_SETTIPTEXTW, static_cast<WPARAM>(panel),
                        reinterpret_cast<LPARAM>(shown.c_str()));
}

std::string MainWindow::Status(int panel) const {
  HWND status = ::GetDlgItem(window_, kStatusBarControl);
  const auto length = LOWORD(::SendMessageW(status, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0));
  std::wstring text(length + 1u, L'\0');
  ::SendMessageW(status, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return Utf8(text);
}

void MainWindow::RepaintNow() {
  ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace rsf::win32
