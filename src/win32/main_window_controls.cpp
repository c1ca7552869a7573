// The controls of the main window, made in the order the focus moves through them and placed
// where the desktop core's layout has them (desktop/main_window_layout.h): design pixels inside
// their parents, scaled to the screen's resolution, with the edges each one follows.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>
#include <utility>

#include "desktop/main_window_layout.h"
#include "desktop/window_texts.h"
#include "scan/catalogue/clip_type_table.h"
#include "scan/engine/scan_observer.h"
#include "win32/command_ids.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

// The layout's controls that are one Win32 control each.
constexpr std::pair<std::string_view, int> kPlacedControls[] = {
    {"GroupBox1", kSourceGroupControl},       {"edtSourceFile", kSourceFieldControl},
    {"btnSourceBrowse", kSourceBrowseControl}, {"GroupBox2", kTargetGroupControl},
    {"edtTargetFiles", kTargetFieldControl},   {"btnTargetBrowse", kTargetBrowseControl},
    {"grpbxClips", kClipTypesGroupControl},    {"grpbxMoreClips", kMoreClipTypesGroupControl},
    {"Gauge1", kGaugeControl},
};

// The clip list's columns with their widths, and the information pane's header above it.
constexpr std::pair<const char*, int> kClipListColumns[] = {
    {desktop::kHeaderFile, 80}, {desktop::kHeaderType, 100}, {desktop::kHeaderSize, 80}};
constexpr int kInfoHeaderHeight = 17;
constexpr int kInfoHeaderWidth = 5000;
// The splitter leaves each side at least this wide.
constexpr int kLeastSplitSide = 40;
// The drive list drops down this far below the source field.
constexpr int kDriveListHeight = 200;

// The status bar's panels: label, activity, elapsed and remaining time (the last takes the rest).
constexpr int kStatusPanelWidths[] = {40, 240, 130};
constexpr const char* kStatusInitialTexts[] = {desktop::kStatusLabel, desktop::kStatusIdle, kStatusElapsed,
                                               kStatusRemaining};

// The system's message font at `dpi`: asked for that resolution where the system can say
// (Windows 10 1607 on), otherwise the system resolution's font scaled.
HFONT MessageFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  const auto for_dpi = reinterpret_cast<ForDpi>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  if (for_dpi == nullptr || !for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HDC screen = ::GetDC(nullptr);
    const int system_dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, system_dpi);
  }
  return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace

int MainWindow::Scaled(int design_pixels) const { return ::MulDiv(design_pixels, dpi_, 96); }

int MainWindow::Unscaled(int pixels) const { return ::MulDiv(pixels, 96, dpi_); }

HWND MainWindow::AddControl(const wchar_t* window_class, const std::wstring& text, DWORD style, int id,
                            DWORD extended_style) {
  HWND control = ::CreateWindowExW(extended_style, window_class, text.c_str(), WS_CHILD | style, 0, 0, 0, 0, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                   nullptr);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  panel_controls_.push_back(control);
  return control;
}

void MainWindow::CreateControls() {
  font_ = MessageFont(dpi_);
  fixed_font_ = FixedFont();
  CreateToolBar();
  constexpr DWORD kShown = WS_VISIBLE;
  constexpr DWORD kFocusable = WS_VISIBLE | WS_TABSTOP;
  AddControl(WC_BUTTONW, L"", kShown | BS_GROUPBOX, kSourceGroupControl);
  AddControl(WC_EDITW, DisplayText(desktop::kSourceFieldInitial), kFocusable | ES_AUTOHSCROLL, kSourceFieldControl,
             WS_EX_CLIENTEDGE);
  AddControl(WC_BUTTONW, DisplayText(desktop::kBrowseButtonCaption), kFocusable | BS_PUSHBUTTON, kSourceBrowseControl);
  AddControl(WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kDriveListControl);
  AddControl(WC_BUTTONW, L"", kShown | BS_GROUPBOX, kTargetGroupControl);
  AddControl(WC_EDITW, DisplayText(desktop::kTargetFieldInitial), kFocusable | ES_AUTOHSCROLL, kTargetFieldControl,
             WS_EX_CLIENTEDGE);
  AddControl(WC_BUTTONW, DisplayText(desktop::kBrowseButtonCaption), kFocusable | BS_PUSHBUTTON, kTargetBrowseControl);
  CreateClipList();
  CreateClipTypeBoxes();
  HWND gauge = AddControl(PROGRESS_CLASSW, L"", kShown | PBS_SMOOTH, kGaugeControl);
  ::SendMessageW(gauge, PBM_SETRANGE32, 0, 100);
  CreateStatusBar();
  CreateHints();
  // Group boxes lie beneath the controls they frame.
  for (int group : {kSourceGroupControl, kTargetGroupControl, kClipTypesGroupControl, kMoreClipTypesGroupControl})
    ::SetWindowPos(::GetDlgItem(window_, group), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The clip list: a report with check boxes under its header, and beside it the information
// pane under a header of its own.
void MainWindow::CreateClipList() {
  HWND list = AddControl(WC_LISTVIEWW, L"", WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                         kClipListControl, WS_EX_CLIENTEDGE);
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  int column = 0;
  for (const auto& [caption, width] : kClipListColumns) {
    std::wstring text = DisplayText(caption);
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    header.cx = Scaled(width);
    header.pszText = text.data();
    header.iSubItem = column;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, column++, reinterpret_cast<LPARAM>(&header));
  }

  HWND info_header = AddControl(WC_HEADERW, L"", WS_VISIBLE | HDS_HORZ, kInfoHeaderControl);
  std::wstring info = DisplayText(desktop::kHeaderInfo);
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH;
  item.cxy = Scaled(kInfoHeaderWidth);
  item.pszText = info.data();
  ::SendMessageW(info_header, HDM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  HWND pane = AddControl(WC_EDITW, L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                         kInfoPaneControl, WS_EX_CLIENTEDGE);
  ::SendMessageW(pane, WM_SETFONT, reinterpret_cast<WPARAM>(fixed_font_), FALSE);
}

// Every type of the clip-type table in its group's grid; made row by row, so that the focus
// moves through each grid as it reads.
void MainWindow::CreateClipTypeBoxes() {
  AddControl(WC_BUTTONW, DisplayText(desktop::kClipTypesCaption), WS_VISIBLE | BS_GROUPBOX, kClipTypesGroupControl);
  AddControl(WC_BUTTONW, DisplayText(desktop::kMoreClipTypesCaption), WS_VISIBLE | BS_GROUPBOX,
             kMoreClipTypesGroupControl);
  std::vector<const ClipTypeRecord*> in_grid_order;
  for (const ClipTypeRecord& type : ClipTypeTable()) in_grid_order.push_back(&type);
  std::ranges::stable_sort(in_grid_order, {}, [](const ClipTypeRecord* type) {
    return std::tuple(type->group, type->row, type->column);
  });
  for (const ClipTypeRecord* type : in_grid_order)
    AddControl(WC_BUTTONW, DisplayText(type->caption), WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
               ClipTypeControl(type->kind));
}

void MainWindow::CreateStatusBar() {
  // A text longer than its panel is read whole in the panel's hint.
  HWND status = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | SBARS_TOOLTIPS, 0, 0,
                                  0, 0, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarControl)),
                                  ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(status, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SetStatusPanels();
  for (int panel = 0; panel < static_cast<int>(std::size(kStatusInitialTexts)); ++panel) SetStatus(panel, kStatusInitialTexts[panel]);
}

void MainWindow::SetStatusPanels() {
  int edges[std::size(kStatusInitialTexts)];
  int right = 0;
  for (std::size_t panel = 0; panel < std::size(kStatusPanelWidths); ++panel)
    edges[panel] = right += Scaled(kStatusPanelWidths[panel]);
  edges[std::size(kStatusPanelWidths)] = -1;
  ::SendDlgItemMessageW(window_, kStatusBarControl, SB_SETPARTS, std::size(edges), reinterpret_cast<LPARAM>(edges));
}

HFONT MainWindow::FixedFont() const {
  return ::CreateFontW(-Scaled(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"NSimSun");
}

// A new resolution (the window moved to another screen, or the screen's scale changed): every
// size that came from design pixels is made again, then the controls are placed anew.
void MainWindow::ApplyResolution(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  HFONT old_font = font_, old_fixed_font = fixed_font_;
  font_ = MessageFont(dpi_);
  fixed_font_ = FixedFont();
  for (HWND control : panel_controls_)
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(control == ::GetDlgItem(window_, kInfoPaneControl) ? fixed_font_ : font_), TRUE);
  ::SendDlgItemMessageW(window_, kStatusBarControl, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  ::DeleteObject(old_font);
  ::DeleteObject(old_fixed_font);
  int column = 0;
  for (const auto& [caption, width] : kClipListColumns)
    ::SendDlgItemMessageW(window_, kClipListControl, LVM_SETCOLUMNWIDTH, column++, Scaled(width));
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = Scaled(kInfoHeaderWidth);
  ::SendDlgItemMessageW(window_, kInfoHeaderControl, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  SetStatusPanels();
  ScaleToolBar();
  ::SendDlgItemMessageW(window_, kStatusBarControl, WM_SIZE, 0, 0);
  PlaceControls();
}

void MainWindow::MoveControl(int id, const desktop::Rect& design_rect) {
  ::MoveWindow(::GetDlgItem(window_, id), Scaled(design_rect.left), Scaled(design_rect.top), Scaled(design_rect.width),
               Scaled(design_rect.height), TRUE);
}

// The panel is the client area above the status bar. The source and target boxes share its
// width by their own rule, and the clip list lines up under the source box.
void MainWindow::PlaceControls() {
  RECT client;
  ::GetClientRect(window_, &client);
  int status_height = 0;
  HWND status = ::GetDlgItem(window_, kStatusBarControl);
  if (status != nullptr && (::GetWindowLongW(status, GWL_STYLE) & WS_VISIBLE) != 0) {
    RECT bar;
    ::GetWindowRect(status, &bar);
    status_height = bar.bottom - bar.top;
  }
  const int tool_bar_height = ToolBarHeight();
  ::MoveWindow(::GetDlgItem(window_, kToolBarControl), 0, 0, client.right, tool_bar_height, TRUE);
  const desktop::Rect panel{0, Unscaled(tool_bar_height), Unscaled(client.right),
                            Unscaled(client.bottom - status_height - tool_bar_height)};
  const desktop::SourceAndTargetBoxes boxes =
      desktop::SourceAndTargetAtWidth(panel.width + desktop::kNominalFrameWidth, panel.width);

  std::map<std::string_view, desktop::Rect> placed;
  for (const desktop::ControlPlace& control : desktop::MainWindowLayout()) {
    const std::string_view name = control.name;
    const desktop::Rect parent = control.parent == std::string_view(desktop::kMainPanelName) ? panel : placed.at(control.parent);
    desktop::Rect rect = desktop::PlaceIn(desktop::Anchored(control.bounds, control.anchors, desktop::DesignSizeOf(control.parent)),
                                          parent.Extent());
    rect.left += parent.left;
    rect.top += parent.top;
    if (name == "GroupBox1" || name == "GroupBox2") {
      rect = name == "GroupBox1" ? boxes.source : boxes.target;
      rect.left += panel.left;
      rect.top += panel.top;
    }
    placed[name] = rect;
  }
  for (const auto& [name, id] : kPlacedControls) MoveControl(id, placed.at(name));

  // The list lines up under the source box unless the splitter was dragged; either side keeps
  // a little room.
  const desktop::Rect& middle = placed.at("pnlMiddle");
  int list_width = dragged_list_width_ >= 0 ? dragged_list_width_ : placed.at("GroupBox1").width;
  list_width = std::max(0, std::min(list_width, middle.width - desktop::kSplitterWidth - kLeastSplitSide));
  list_width = std::min(std::max(list_width, kLeastSplitSide), middle.width);
  const int info_left = middle.left + list_width + desktop::kSplitterWidth;
  splitter_ = {Scaled(middle.left + list_width), Scaled(middle.top), Scaled(info_left), Scaled(middle.Bottom())};
  const int info_width = std::max(middle.Right() - info_left, 0);
  MoveControl(kClipListControl, {middle.left, middle.top, list_width, middle.height});
  MoveControl(kInfoHeaderControl, {info_left, middle.top, info_width, kInfoHeaderHeight});
  MoveControl(kInfoPaneControl, {info_left, middle.top + kInfoHeaderHeight, info_width,
                                 std::max(middle.height - kInfoHeaderHeight, 0)});

  const desktop::Rect& field = placed.at("edtSourceFile");
  MoveControl(kDriveListControl, {field.left, field.top, placed.at("btnSourceBrowse").Right() - field.left, kDriveListHeight});

  for (const ClipTypeRecord& type : ClipTypeTable()) {
    const desktop::Rect& group = placed.at(type.group == ClipTypeGroup::kClassic ? "grpbxClips" : "grpbxMoreClips");
    desktop::Rect box = desktop::CheckBoxBounds(type.row, type.column);
    box.left += group.left;
    box.top += group.top;
    MoveControl(ClipTypeControl(type.kind), box);
  }
}

}  // namespace rsf::win32
