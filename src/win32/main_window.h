// The main window drawn with Win32 controls: source and target fields, the clip list with its
// information pane, the clip-type boxes, the gauge, the menus and the status bar. It is the
// desktop core's main view: it draws what the presenter asks and forwards every command to it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "desktop/anchored_placement.h"
#include "desktop/main_presenter.h"
#include "desktop/main_view.h"

namespace rsf::win32 {

// WM_DPICHANGED: Windows 8.1 on sends it when the window's screen resolution changes; the
// headers of the oldest system this program is built for do not have it.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

class MainWindow final : public desktop::MainView {
 public:
  // Creates the window hidden; the program shows it. `source` (may be empty) goes into the
  // source field.
  MainWindow(const desktop::DesktopServices& services, std::string help_file, const std::string& source);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Gone (0) once the window is destroyed.
  HWND Handle() const { return window_; }
  // The tool tip control with the fields' hints.
  HWND Hints() const { return hints_; }
  desktop::MainPresenter& Presenter() { return presenter_; }
  // What the message loop does before dispatching a message: the window's keys (accelerators,
  // Esc) and the focus moves between its controls. True when the message was used up.
  bool PreTranslate(MSG& message);

  // --- desktop::MainView ---
  void SetBusy(bool busy) override;
  void ClearClipList() override;
  void StartClipList() override;
  void AddClipLine(const std::string& line) override;
  void TickAllClips() override;
  void UntickAllClips() override;
  std::vector<bool> ClipTicks() const override;
  int SelectedClip() const override;
  void ShowClipDetail(const std::vector<std::string>& lines) override;
  std::string SourcePath() const override;
  void SetSourcePath(const std::string& path) override;
  std::string TargetPath() const override;
  void SetTargetPath(const std::string& path) override;
  void SetDriveEntries(const std::vector<std::string>& entries) override;
  void SelectDrive(int index) override;
  std::string SelectedDriveEntry() const override;
  void ShowCdMode(bool on) override;
  void SetGaugeMaximum(std::int64_t maximum) override;
  void SetGaugeProgress(std::int64_t position) override;
  void SetStatus(int panel, const std::string& text) override;
  std::string Status(int panel) const override;
  void RepaintNow() override;
  void ProcessEvents() override;
  bool Closing() const override { return closing_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  // Building (main_window_controls.cpp, main_window_menu.cpp).
  void CreateControls();
  HWND AddControl(const wchar_t* window_class, const std::wstring& text, DWORD style, int id, DWORD extended_style = 0);
  void CreateClipList();
  void CreateClipTypeBoxes();
  void CreateStatusBar();
  void CreateToolBar();
  void CreateHints();
  void CreateMenus();
  void ShowOptions();
  // Places every control for the client area's size; the status bar at the bottom.
  void PlaceControls();
  void CentreOnScreen();
  void MoveControl(int id, const desktop::Rect& design_rect);
  int ToolBarHeight() const;
  void EnableToolButton(int id, bool on);
  // What depends on the screen's resolution: fonts, pictures, icon, column widths, status panels
  // (main_window_toolbar.cpp, main_window_controls.cpp).
  void ScaleToolBar();
  void ApplyResolution(int dpi);
  void SetStatusPanels();
  HFONT FixedFont() const;
  int Scaled(int design_pixels) const;
  int Unscaled(int pixels) const;

  // Commands (main_window.cpp, main_window_menu.cpp).
  void Command(const std::function<void()>& handler);
  void OnCommand(int id, int code);
  void OnNotify(const NMHDR& notice);
  bool OnHintNeeded(const NMHDR& notice);
  // The splitter between the clip list and the information pane (main_window.cpp).
  bool OnSplitterMouse(UINT message, LPARAM lparam);
  void OnDropFiles(HDROP drop);
  void ToggleOption(int item, bool& option);
  void ShowClipMenu(POINT at);
  void ShowAbout();
  void FormClose();
  void EnableControls(bool on);

  desktop::DesktopServices services_;
  desktop::MainPresenter presenter_;
  HWND window_ = nullptr;
  HMENU menu_bar_ = nullptr;
  HMENU clip_menu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT font_ = nullptr;
  HFONT fixed_font_ = nullptr;
  HIMAGELIST tool_pictures_ = nullptr;
  HWND hints_ = nullptr;
  std::wstring hint_text_;  // the tool bar hint being shown
  int dpi_ = 96;
  // The splitter: where it lies (client pixels), and the clip list's width the user dragged it
  // to (design pixels; -1 until a drag, and again after each resize, which lines the list up
  // under the source box).
  RECT splitter_{};
  int dragged_list_width_ = -1;
  int drag_grip_ = -1;  // while dragging: the mouse's distance from the splitter's left edge
  std::vector<HWND> panel_controls_;
  std::vector<std::string> drive_entries_;
  std::vector<std::string> dropped_;
  std::int64_t gauge_maximum_ = 0;
  std::int64_t gauge_position_ = 0;
  int running_commands_ = 0;
  HWND focus_before_busy_ = nullptr;
  bool busy_ = false;
  bool closing_ = false;
  bool filling_list_ = false;
};

}  // namespace rsf::win32
