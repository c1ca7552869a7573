// The Win32 main window, created hidden under Wine's null graphics driver and driven by the
// messages a user's clicks, keys and drops send: its list, fields, status bar, menu items and
// check boxes against the desktop core, with doubles answering for the boxes, dialogs, shell
// and player.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "desktop/about_contents.h"
#include "desktop/desktop_doubles.h"
#include "desktop/window_texts.h"
#include "scan/catalogue/clip_catalogue.h"
#include "scan/catalogue/clip_type_table.h"
#include "scan/engine/scan_observer.h"
#include "scan/extraction/extraction.h"
#include "desktop/command_pictures.h"
#include "win32/about_window.h"
#include "win32/command_ids.h"
#include "win32/main_window.h"
#include "win32/picture_bitmap.h"
#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

using desktop::test::Bitmaps;

// The shell's drop: a DROPFILES header, then the wide paths, each ended by a zero, and one
// zero more.
HGLOBAL DroppedFiles(const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) names += Wide(path) + L'\0';
  names += L'\0';
  HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
  ::GlobalUnlock(memory);
  return memory;
}

class Win32MainWindow : public ::testing::Test, protected desktop::test::ServiceDoubles {
 protected:
  Win32MainWindow() {
    folder.folder = temp.File("");
    window.Presenter().SetPacingClock([this] {
      if (on_pacing) on_pacing();
      return now += 0.1;
    });
  }
  // The window's end posts a quit message; the next test starts without it.
  ~Win32MainWindow() override {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  HWND Control(int id) const { return ::GetDlgItem(window.Handle(), id); }
  void Send(int command) { ::SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }
  void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      if (!window.PreTranslate(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
  }
  std::string Text(int id) const {
    wchar_t text[4096] = {};
    ::SendMessageW(Control(id), WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return Utf8(text);
  }
  void SetText(int id, const std::string& text) {
    ::SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
  }
  int ListCount() const { return static_cast<int>(::SendMessageW(Control(kClipListControl), LVM_GETITEMCOUNT, 0, 0)); }
  std::string ListText(int row, int column) const {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = std::size(text);
    ::SendMessageW(Control(kClipListControl), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return Utf8(text);
  }
  bool Ticked(int row) const {
    return ::SendMessageW(Control(kClipListControl), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) ==
           INDEXTOSTATEIMAGEMASK(2);
  }
  void SetListState(int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    ::SendMessageW(Control(kClipListControl), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }
  std::string StatusText(int panel) const {
    wchar_t text[256] = {};
    ::SendMessageW(Control(kStatusBarControl), SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text));
    return Utf8(text);
  }
  bool MenuTicked(int item) const {
    return (::GetMenuState(::GetMenu(window.Handle()), item, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  // A key pressed on the window, with Ctrl held or not, through the window's message handling.
  void Press(WPARAM key, bool control) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = control ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::PostMessageW(window.Handle(), WM_KEYDOWN, key, 0);
    Pump();
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
  }
  bool Shown(int id) const { return (::GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0; }
  // Where a control lies in the window's client area.
  RECT Place(int id) const {
    RECT rect;
    ::GetWindowRect(Control(id), &rect);
    ::MapWindowPoints(HWND_DESKTOP, window.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  void Mouse(UINT message, int x, int y) {
    ::SendMessageW(window.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }
  // Scans `bytes` written to the file `name` as the source.
  void Scan(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    SetText(kSourceFieldControl, temp.Write(name, bytes));
    Send(kStartAnalysisCommand);
  }

  double now = 0;
  std::function<void()> on_pacing;
  rsf::test::TempDir temp;
  MainWindow window{Services(), temp.File("guide.html"), ""};
  desktop::WindowOptions& options = window.Presenter().Options();
};

TEST_F(Win32MainWindow, ScanListsEveryClipInColumnsTicksThemAndReportsNoErrors) {
  Scan("source.bin", Bitmaps(3));
  const ClipCatalogue& found = window.Presenter().Engine().Catalogue();
  ASSERT_EQ(found.size(), 3u);
  ASSERT_EQ(ListCount(), 3);
  for (int row = 0; row < 3; ++row) {
    const std::string line = ListLine(row + 1, TypeNameForExtension(found[row].Extension), found[row]);
    EXPECT_EQ(ListText(row, 0) + "\t" + ListText(row, 1) + "\t" + ListText(row, 2), line);
    EXPECT_TRUE(Ticked(row)) << row;
  }
  EXPECT_EQ(StatusText(kStatusPanelActivity), "分析完成。错误 : 0");
  EXPECT_EQ(window.Status(kStatusPanelActivity), "分析完成。错误 : 0");
  EXPECT_TRUE(boxes.shown.empty());

  // Selecting an entry shows its lines in the information pane.
  SetListState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  std::string detail;
  for (const std::string& part : ClipDetailLines(found[1])) detail += (detail.empty() ? "" : "\r\n") + part;
  EXPECT_EQ(window.SelectedClip(), 1);
  EXPECT_EQ(Text(kInfoPaneControl), detail);
  // A new source empties the list and the pane.
  SetText(kSourceFieldControl, temp.File("other.bin"));
  EXPECT_EQ(ListCount(), 0);
  EXPECT_EQ(Text(kInfoPaneControl), "");
}

TEST_F(Win32MainWindow, ExtractionWritesTheTickedClipsOnly) {
  Scan("source.bin", Bitmaps(3));
  SetListState(1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  EXPECT_EQ(window.ClipTicks(), (std::vector<bool>{true, false, true}));
  rsf::test::TempDir target;
  SetText(kTargetFieldControl, target.File("片段"));
  Send(kSaveClipsCommand);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, kExtractionDoneText);
  const std::filesystem::path folder_path(Wide(target.path()));
  for (const auto& [number, written] : {std::pair{1, true}, {2, false}, {3, true}})
    EXPECT_EQ(std::filesystem::exists(folder_path / (L"片段" + std::to_wstring(number) + L".bmp")), written) << number;

  Send(kUnSelectAllCommand);
  EXPECT_EQ(window.ClipTicks(), (std::vector<bool>{false, false, false}));
  Send(kSaveClipsCommand);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, kNothingTickedWarning);
  Send(kSelectAllCommand);
  EXPECT_EQ(window.ClipTicks(), (std::vector<bool>{true, true, true}));
}

TEST_F(Win32MainWindow, TypeBoxesAndOptionItemsReachTheOptions) {
  for (const ClipTypeRecord& type : ClipTypeTable()) {
    HWND box = Control(ClipTypeControl(type.kind));
    ASSERT_NE(box, nullptr) << type.name;
    EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED, type.group == ClipTypeGroup::kClassic) << type.name;
    ::SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(options.Ticked(type.kind), type.group != ClipTypeGroup::kClassic) << type.name;
  }
  const struct {
    int item;
    bool desktop::WindowOptions::*option;
  } rows[] = {
      {kStartOnDropItem, &desktop::WindowOptions::start_analysis_on_drop},
      {kInternalPlaybackItem, &desktop::WindowOptions::internal_playback_first},
      {kPreciseBoundariesItem, &desktop::WindowOptions::precise},
      {kMp3ModeItem, &desktop::WindowOptions::mp3_mode},
      {kIgnoreReadErrorsItem, &desktop::WindowOptions::ignore_read_errors},
  };
  for (const auto& row : rows) {
    const bool before = options.*row.option;
    EXPECT_EQ(MenuTicked(row.item), before) << row.item;
    Send(row.item);
    EXPECT_NE(options.*row.option, before) << row.item;
    EXPECT_EQ(MenuTicked(row.item), options.*row.option) << row.item;
  }
  // MP3 mode (now on) greys the type boxes and keeps their ticks.
  EXPECT_FALSE(::IsWindowEnabled(Control(ClipTypeControl(ClipKind::kAVI))));
  Send(kMp3ModeItem);
  EXPECT_TRUE(::IsWindowEnabled(Control(ClipTypeControl(ClipKind::kAVI))));
  EXPECT_FALSE(options.Ticked(ClipKind::kAVI));
}

// While a scan runs the controls and menus are greyed and Esc, through the window's own event
// rounds, stops it; what it found stays listed and ticked.
TEST_F(Win32MainWindow, ScanIsBusyAndEscStopsIt) {
  bool controls_greyed = false, menus_greyed = false, escaped = false;
  on_pacing = [&] {
    controls_greyed = !::IsWindowEnabled(Control(kSourceFieldControl)) && !::IsWindowEnabled(Control(kClipListControl));
    menus_greyed = (::GetMenuState(::GetMenu(window.Handle()), 0, MF_BYPOSITION) & MF_GRAYED) != 0;
    if (!escaped && window.Presenter().Engine().Catalogue().size() == 2) {
      escaped = true;
      ::PostMessageW(window.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
  };
  Scan("source.bin", Bitmaps(8));
  EXPECT_TRUE(controls_greyed && menus_greyed);
  EXPECT_GE(ListCount(), 2);
  EXPECT_LT(ListCount(), 8);
  EXPECT_TRUE(Ticked(0));
  EXPECT_EQ(StatusText(kStatusPanelActivity), std::string(desktop::kStatusScanStopped) + "0");
  EXPECT_TRUE(::IsWindowEnabled(Control(kSourceFieldControl)));
  EXPECT_EQ(::GetMenuState(::GetMenu(window.Handle()), 0, MF_BYPOSITION) & MF_GRAYED, 0u);
}

TEST_F(Win32MainWindow, DropFillsTheSourceWithTheLastFileAndScansIt) {
  const std::string first = temp.Write("first.bin", Bitmaps(1));
  const std::wstring last_name = Wide(temp.path()) + L"\\拖放源.bin";
  std::ofstream(std::filesystem::path(last_name), std::ios::binary)
      .write(reinterpret_cast<const char*>(Bitmaps(2).data()), static_cast<std::streamsize>(Bitmaps(2).size()));
  ::SendMessageW(window.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DroppedFiles({first, Utf8(last_name)})), 0);
  Pump();
  EXPECT_EQ(Text(kSourceFieldControl), Utf8(last_name));
  EXPECT_EQ(ListCount(), 2);
  EXPECT_EQ(StatusText(kStatusPanelActivity), "分析完成。错误 : 0");
}

TEST_F(Win32MainWindow, CloseEndsPlayerPicturesAndFolderThenTheWindow) {
  ::SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(window.Closing());
  EXPECT_EQ(window.Handle(), nullptr);
  EXPECT_EQ(player.calls, (std::vector<std::string>{"close"}));
  EXPECT_EQ(pictures.calls, (std::vector<std::string>{"close"}));
  EXPECT_EQ(folder.releases, 1);
}

// A close during a scan stops it at the next event round; the window goes once it is over.
TEST_F(Win32MainWindow, CloseDuringAScanEndsItAndThenTheWindow) {
  HWND handle = window.Handle();
  on_pacing = [&] {
    if (window.Presenter().Engine().Catalogue().size() == 1) ::PostMessageW(handle, WM_CLOSE, 0, 0);
  };
  Scan("source.bin", Bitmaps(8));
  EXPECT_LT(window.Presenter().Engine().Catalogue().size(), 8u);
  EXPECT_FALSE(::IsWindow(handle));
  EXPECT_EQ(folder.releases, 1);
  EXPECT_TRUE(boxes.shown.empty());
}

// The shortcuts reach their commands; the dialogs' answers land in the fields.
std::wstring about_caption;

TEST_F(Win32MainWindow, ShortcutsRunTheirCommands) {
  dialogs.source_answer = "C:\\游戏\\数据.pak";
  dialogs.target_answer = "C:\\rips\\片段.avi";
  const struct {
    WPARAM key;
    bool control;
    std::function<bool()> done;
  } rows[] = {
      {'O', true, [&] { return Text(kSourceFieldControl) == "C:\\游戏\\数据.pak"; }},
      {'T', true, [&] { return Text(kTargetFieldControl) == "C:\\rips\\片段"; }},
      {'I', true, [&] { return about_caption == DisplayText(desktop::About().caption); }},
      {VK_F1, false,
       [&] { return !boxes.shown.empty() && boxes.shown.back().text.starts_with(desktop::kCannotOpenHelpFile); }},
  };
  // The About window runs its own loop until it is closed: a timer that the loop serves reads
  // its caption and presses its button.
  about_caption.clear();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND about = ::FindWindowW(L"RsfExtractorAboutWindow", nullptr);
    if (about == nullptr || !::IsWindowVisible(about)) return;
    wchar_t caption[256] = {};
    ::GetWindowTextW(about, caption, static_cast<int>(std::size(caption)));
    about_caption = caption;
    ::SendMessageW(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
  });
  for (const auto& row : rows) {
    Press(row.key, row.control);
    EXPECT_TRUE(row.done()) << "key " << row.key;
  }
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(::IsWindowEnabled(window.Handle())) << "the About window gave the input back";
  SetText(kSourceFieldControl, temp.Write("source.bin", Bitmaps(2)));
  Press('A', true);
  EXPECT_EQ(ListCount(), 2);
}

TEST_F(Win32MainWindow, CdModeShowsTheDriveListInPlaceOfTheSourceField) {
  window.ShowCdMode(true);
  EXPECT_TRUE(Shown(kDriveListControl));
  EXPECT_FALSE(Shown(kSourceFieldControl) || Shown(kSourceBrowseControl));
  EXPECT_TRUE(MenuTicked(kUseCDModeCommand));
  dialogs.source_answer = "C:\\other.bin";
  Press('O', true);
  EXPECT_NE(Text(kSourceFieldControl), "C:\\other.bin") << "no source file in CD mode";
  window.SetDriveEntries({"R: 光盘", "S:"});
  window.SelectDrive(1);
  EXPECT_EQ(window.SelectedDriveEntry(), "S:");
  window.ShowCdMode(false);
  EXPECT_FALSE(Shown(kDriveListControl));
  EXPECT_TRUE(Shown(kSourceFieldControl) && Shown(kSourceBrowseControl));
  Press('O', true);
  EXPECT_EQ(Text(kSourceFieldControl), "C:\\other.bin");
}

TEST_F(Win32MainWindow, StartsInTheMiddleOfTheScreen) {
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window.Handle(), MONITOR_DEFAULTTOPRIMARY), &screen));
  RECT frame;
  ::GetWindowRect(window.Handle(), &frame);
  EXPECT_NEAR(frame.left - screen.rcWork.left, screen.rcWork.right - frame.right, 1);
  EXPECT_EQ(Text(kSourceFieldControl), "<源文件>");
}

// Resizing keeps each control's distance to the edges it follows.
TEST_F(Win32MainWindow, ResizeMovesAndStretchesTheAnchoredControls) {
  auto place = [&](int id) { return Place(id); };
  const RECT gauge = place(kGaugeControl), box = place(ClipTypeControl(ClipKind::kQT)), list = place(kClipListControl);
  RECT frame;
  ::GetWindowRect(window.Handle(), &frame);
  ::SetWindowPos(window.Handle(), nullptr, 0, 0, frame.right - frame.left + 200, frame.bottom - frame.top + 100,
                 SWP_NOMOVE | SWP_NOZORDER);
  const RECT wider_gauge = place(kGaugeControl), moved_box = place(ClipTypeControl(ClipKind::kQT)),
             taller_list = place(kClipListControl);
  EXPECT_EQ(wider_gauge.right - wider_gauge.left, gauge.right - gauge.left + 200);
  EXPECT_EQ(wider_gauge.top, gauge.top + 100);
  EXPECT_EQ(moved_box.top, box.top + 100);
  EXPECT_EQ(moved_box.left, box.left);
  EXPECT_EQ(taller_list.bottom - taller_list.top, list.bottom - list.top + 100);
  EXPECT_EQ(taller_list.right - taller_list.left, list.right - list.left + 100) << "the list takes half the width added";
}

// The tool bar holds the commands with the pictures in the other desktop program's order, each
// with its hint; its menu item hides it and the controls move up into its place.
TEST_F(Win32MainWindow, ToolBarHasTheCommandsWithTheirHintsAndHides) {
  HWND bar = Control(kToolBarControl);
  ASSERT_NE(bar, nullptr);
  std::vector<int> commands;
  for (int i = 0; i < static_cast<int>(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0)); ++i) {
    TBBUTTON button{};
    ::SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    commands.push_back((button.fsStyle & BTNS_SEP) != 0 ? 0 : button.idCommand);
  }
  EXPECT_EQ(commands, (std::vector<int>{kOpenSourceCommand, kStartAnalysisCommand, 0, kSelectAllCommand,
                                        kUnSelectAllCommand, kPlayCommand, 0, kSelectTargetCommand, kSaveClipsCommand,
                                        0, kUseCDModeCommand, 0, kShowHelpCommand, kSplashShowCommand}));
  auto pictures = reinterpret_cast<HIMAGELIST>(::SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
  EXPECT_EQ(::ImageList_GetImageCount(pictures), desktop::kCommandPictureCount);

  for (auto [command, hint] : {std::pair{kPlayCommand, desktop::kPlayHint}, std::pair{kUseCDModeCommand, desktop::kUseCDModeHint}}) {
    NMTTDISPINFOW request{};
    request.hdr.hwndFrom = reinterpret_cast<HWND>(::SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
    request.hdr.idFrom = static_cast<UINT_PTR>(command);
    request.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageW(window.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    ASSERT_NE(request.lpszText, nullptr);
    EXPECT_EQ(std::wstring(request.lpszText), DisplayText(hint));
  }

  const RECT source = Place(kSourceGroupControl);
  Send(kToolbarItem);
  EXPECT_FALSE(Shown(kToolBarControl));
  EXPECT_FALSE(MenuTicked(kToolbarItem));
  EXPECT_LT(Place(kSourceGroupControl).top, source.top);
  Send(kToolbarItem);
  EXPECT_TRUE(Shown(kToolBarControl));
  EXPECT_EQ(Place(kSourceGroupControl).top, source.top);

  window.ShowCdMode(true);
  EXPECT_TRUE(::SendMessageW(bar, TB_ISBUTTONCHECKED, kUseCDModeCommand, 0));
  EXPECT_FALSE(::SendMessageW(bar, TB_ISBUTTONENABLED, kOpenSourceCommand, 0));
}

TEST_F(Win32MainWindow, FieldsShowTheirHints) {
  auto hint = [&](int id) {
    wchar_t text[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
    tool.lpszText = text;
    ::SendMessageW(window.Hints(), TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return std::wstring(text);
  };
  EXPECT_EQ(hint(kSourceFieldControl), DisplayText(desktop::kSourceFieldHint));
  EXPECT_EQ(hint(kTargetFieldControl), DisplayText(desktop::kTargetFieldHint));
  EXPECT_EQ(hint(kClipListControl), DisplayText(desktop::kClipListHint));
  EXPECT_EQ(hint(ClipTypeControl(ClipKind::kMID)), DisplayText(desktop::kClipTypesHint));
}

// Dragging the splitter moves the border between list and pane; a resize lines the list up
// under the source box again.
TEST_F(Win32MainWindow, SplitterDragsTheBorderBetweenListAndPane) {
  const RECT list = Place(kClipListControl), pane = Place(kInfoPaneControl);
  const int gap_x = (list.right + pane.left) / 2, y = (pane.top + pane.bottom) / 2;
  Mouse(WM_LBUTTONDOWN, gap_x, y);
  Mouse(WM_MOUSEMOVE, gap_x + 60, y);
  Mouse(WM_LBUTTONUP, gap_x + 60, y);
  Mouse(WM_MOUSEMOVE, gap_x + 90, y);  // the drag is over
  EXPECT_EQ(Place(kClipListControl).right, list.right + 60);
  EXPECT_EQ(Place(kInfoPaneControl).left, pane.left + 60);
  EXPECT_EQ(Place(kInfoPaneControl).right, pane.right);
  Mouse(WM_LBUTTONDOWN, gap_x + 60, y);
  Mouse(WM_MOUSEMOVE, -500, y);
  Mouse(WM_LBUTTONUP, -500, y);
  EXPECT_GT(Place(kClipListControl).right - Place(kClipListControl).left, 0) << "the list keeps some room";
  RECT frame;
  ::GetWindowRect(window.Handle(), &frame);
  ::SetWindowPos(window.Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + 10,
                 SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Place(kClipListControl).right, list.right);
}

// At twice the resolution every design size doubles: places, pictures, icon.
TEST_F(Win32MainWindow, AnotherResolutionScalesTheWindow) {
  const RECT box = Place(ClipTypeControl(ClipKind::kWAV));
  RECT frame;
  ::GetWindowRect(window.Handle(), &frame);
  RECT suggested{frame.left, frame.top, frame.left + (frame.right - frame.left) * 2, frame.top + (frame.bottom - frame.top) * 2};
  ::SendMessageW(window.Handle(), kDpiChangedMessage, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  const RECT doubled = Place(ClipTypeControl(ClipKind::kWAV));
  EXPECT_NEAR(doubled.left, box.left * 2, 2);
  EXPECT_NEAR(doubled.right - doubled.left, (box.right - box.left) * 2, 2);
  int width = 0, height = 0;
  ::ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(::SendMessageW(Control(kToolBarControl), TB_GETIMAGELIST, 0, 0)),
                          &width, &height);
  EXPECT_EQ(width, 32);
}

TEST(Win32PictureBitmap, DrawsShapesAndTextsWithAlpha) {
  // The help picture's question mark is text: it shows where the shapes alone leave the
  // circle's pale yellow.
  HBITMAP help = PictureBitmap(desktop::CommandPictureDrawing(desktop::kPictureHelp), 2);
  ASSERT_NE(help, nullptr);
  DIBSECTION section{};
  ASSERT_NE(::GetObjectW(help, sizeof section, &section), 0);
  EXPECT_EQ(section.dsBm.bmWidth, 32);
  const auto* pixels = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
  int blue = 0;
  for (int i = 0; i < 32 * 32; ++i) blue += pixels[i * 4] > 150 && pixels[i * 4 + 2] < 120 && pixels[i * 4 + 3] == 255;
  EXPECT_GT(blue, 4);
  EXPECT_EQ(pixels[3], 0) << "the corner stays clear";
  ::DeleteObject(help);

  // A picture without texts is the core's pixels, blue first, as the Qt program shows them.
  const desktop::VectorPicture play = desktop::CommandPictureDrawing(desktop::kPicturePlay);
  const desktop::RgbaImage core = desktop::Rasterize(play, 1.5);
  HBITMAP bitmap = PictureBitmap(play, 1.5);
  ASSERT_EQ(::GetObjectW(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
  ASSERT_EQ(section.dsBm.bmWidth, 24);
  const auto* shown = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
  for (std::size_t i = 0; i < core.pixels.size(); i += 4) {
    ASSERT_EQ((std::array{shown[i + 2], shown[i + 1], shown[i], shown[i + 3]}),
              (std::array{core.pixels[i], core.pixels[i + 1], core.pixels[i + 2], core.pixels[i + 3]}))
        << "pixel " << i / 4;
  }
  ::DeleteObject(bitmap);
  HICON icon = PictureIcon(desktop::CommandPictureDrawing(desktop::kPictureStartAnalysis), 32);
  EXPECT_NE(icon, nullptr);
  ::DestroyIcon(icon);
}

// The About window shows the core's texts; the link goes to the shell, the button closes it.
TEST(Win32AboutWindow, ShowsTheTextsOpensTheHomePageAndCloses) {
  desktop::test::RecordingShell shell;
  AboutWindow about(nullptr, 96, shell);
  auto text = [](HWND control) {
    wchar_t buffer[512] = {};
    ::GetWindowTextW(control, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer);
  };
  const desktop::AboutContents contents = desktop::About();
  EXPECT_EQ(text(about.Handle()), DisplayText(contents.caption));
  for (const desktop::AboutText& line : contents.texts) EXPECT_EQ(text(about.Label(line.name)), DisplayText(line.text)) << line.name;
  HWND link = about.Label("lblHyperLink");
  ::SendMessageW(about.Handle(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(link), STN_CLICKED), reinterpret_cast<LPARAM>(link));
  EXPECT_EQ(shell.documents, std::vector<std::string>{desktop::HomePageUrl()});
  EXPECT_FALSE(about.Closed());
  ::SendMessageW(::GetDlgItem(about.Handle(), AboutWindow::kButtonId), BM_CLICK, 0, 0);
  EXPECT_TRUE(about.Closed());

  // At twice the resolution the places and the logo are twice as large.
  AboutWindow large(nullptr, 192, shell);
  auto place = [](const AboutWindow& window, HWND control) {
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, window.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  const RECT button = place(about, ::GetDlgItem(about.Handle(), AboutWindow::kButtonId));
  const RECT large_button = place(large, ::GetDlgItem(large.Handle(), AboutWindow::kButtonId));
  EXPECT_EQ(large_button.left, button.left * 2);
  EXPECT_EQ(large_button.right - large_button.left, (button.right - button.left) * 2);
  EXPECT_EQ(place(large, large.Label("lblHyperLink")).top, place(about, link).top * 2);
}

}  // namespace
}  // namespace rsf::win32
