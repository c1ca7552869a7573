// The main window: source and target fields, the list of found clips with its information
// pane, the clip-type boxes, gauge, tool bar, menus and status bar. It is the desktop core's
// main view: it draws what the presenter asks and forwards every command to it.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "desktop/main_presenter.h"
#include "desktop/main_window_layout.h"
#include "desktop/main_view.h"
#include "scan/catalogue/clip_types.h"
#include "ui/services/file_dialogs.h"
#include "ui/services/message_boxes.h"
#include "ui/windows/frmImageView.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QToolBar;

namespace rsf::ui {

class Anchors;
class BevelPanel;
class CheckListBox;
class Gauge;
class HeaderControl;
class StatusPanels;
class TfrmSplash;
struct FormServices;

// The window takes the client size of the nominal frame its layout was drawn for
// (desktop/main_window_layout.h); its tests count with the same frame.
using desktop::kNominalFrameHeight;
using desktop::kNominalFrameWidth;

class TfrmMainForm final : public QMainWindow, public desktop::MainView {
  Q_OBJECT

 public:
  // `arguments` are the command-line arguments after the program name.
  TfrmMainForm(FormServices& services, const QStringList& arguments, QWidget* parent = nullptr);
  ~TfrmMainForm() override;

  // --- controls ---
  QToolBar* tlbarMain = nullptr;
  StatusPanels* stbarMain = nullptr;
  QWidget* panelMain = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QLineEdit* edtSourceFile = nullptr;
  QPushButton* btnSourceBrowse = nullptr;
  QComboBox* comboCDDRIVES = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QLineEdit* edtTargetFiles = nullptr;
  QPushButton* btnTargetBrowse = nullptr;
  QWidget* pnlMiddle = nullptr;
  QSplitter* Splitter1 = nullptr;
  BevelPanel* panelClips = nullptr;
  HeaderControl* HeaderControl1 = nullptr;
  CheckListBox* rzFoundClips = nullptr;
  BevelPanel* pnlPrevInfo = nullptr;
  HeaderControl* HeaderControl2 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QGroupBox* grpbxClips = nullptr;
  QGroupBox* grpbxMoreClips = nullptr;
  Gauge* Gauge1 = nullptr;

  // --- actions (ActionList1) ---
  QAction* OpenSource = nullptr;
  QAction* StartAnalysis = nullptr;
  QAction* SelectAll = nullptr;
  QAction* UnSelectAll = nullptr;
  QAction* Play = nullptr;
  QAction* SelectTarget = nullptr;
  QAction* SaveClips = nullptr;
  QAction* UseCDMode = nullptr;
  QAction* ShowHelp = nullptr;
  QAction* SplashShow = nullptr;

  // --- menus (MainMenu1) and their own items; popupClips for the list ---
  QMenu* File1 = nullptr;
  QMenu* Clips1 = nullptr;
  QMenu* Target1 = nullptr;
  QMenu* View1 = nullptr;
  QMenu* BETA1 = nullptr;
  QMenu* N1 = nullptr;
  QMenu* BETA2 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* Toolbar1 = nullptr;
  QAction* Statusbar2 = nullptr;
  QAction* StartAnalysisonDragDrop1 = nullptr;
  QAction* Tryinternalplaybackfirst = nullptr;
  QAction* PreciseBoundaries1 = nullptr;
  QAction* MP3Mode1 = nullptr;
  QAction* Ignorereaderrors1 = nullptr;
  QMenu* popupClips = nullptr;

  // --- handlers ---
  // The command handlers raise the core's errors (rsf::Error); the actions, keys, buttons and
  // drops run them through the presenter's general error display, which refuses them while a
  // scan runs.
  void FormResize();
  void FormClose();
  void Toolbar1Click();
  void Statusbar2Click();
  void MP3Mode1Click();
  void StartAnalysisExecute();
  void OpenSourceExecute();
  void SelectTargetExecute();
  void edtSourceFileChange();
  // The files dropped on the window, in the shell's order.
  void WMDropFiles(const QStringList& paths);
  void rzFoundClipsClick();
  void SelectAllExecute();
  void UnSelectAllExecute();
  void SaveClipsExecute();
  void PlayExecute();
  void UseCDModeExecute();
  void comboCDDRIVESChange();
  void ShowHelpExecute();
  void SplashShowExecute();
  void Exit1Click();

  // --- state the program and the tests read ---
  desktop::MainPresenter& Presenter() { return presenter_; }
  const ScanEngine& Engine() const { return presenter_.Engine(); }
  // Temporary clip copies; each is deleted when the window closes.
  std::vector<std::string>& TemporaryFiles() { return presenter_.Playing().Copies(); }
  QString HelpFile() const;
  const QString& ApplicationTitle() const { return application_title_; }
  bool Busy() const { return busy_; }
  TfrmImage& PictureWindow() { return *image_; }
  void SetAboutWindow(TfrmSplash* splash) { splash_ = splash; }
  // The clip-type check boxes ("chkQT", "chkVOC", ...), by ClipKind.
  const std::array<QCheckBox*, kClipKindCount>& ClipTypeBoxes() const { return clip_type_boxes_; }
  QCheckBox* ClipTypeBox(ClipKind kind) const { return clip_type_boxes_[static_cast<std::size_t>(kind)]; }
  // The clock by which a scan's repaints and event rounds are paced (tests set a false one).
  void SetPacingClock(desktop::EventPacer::Clock clock) { presenter_.SetPacingClock(std::move(clock)); }
  bool Closing() const override { return closing_; }

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
  void RepaintNow() override { repaint(); }
  void ProcessEvents() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Drags over the edit fields and the information pane are the window's: a dropped file
  // becomes the source instead of pasting its path into a field.
  bool eventFilter(QObject* watched, QEvent* event) override;
  QMenu* createPopupMenu() override { return nullptr; }

 private:
  void FormCreate(const QStringList& arguments);
  // Building the window (main_form_layout.cpp, main_form_commands.cpp).
  void CreateControls();
  void CreateSourceAndTarget();
  void CreateClipPanes();
  void CreateClipTypeBoxes();
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void ConnectControls();
  // Runs a command handler through the presenter: not while a scan is under way, errors shown.
  void Command(const std::function<void()>& handler) { presenter_.Command(handler); }
  void ConnectCommand(QAction* action, void (TfrmMainForm::*handler)());
  // Keeps the presenter's option state in step with the boxes and items the user clicks.
  void ConnectOptions();

  FormServices& services_;
  OwnedMessageBoxes presenter_boxes_;
  OwnedFileDialogs presenter_dialogs_;
  TfrmImage* image_;  // owned by this window
  desktop::MainPresenter presenter_;
  QString application_title_;
  Anchors* panel_anchors_ = nullptr;
  TfrmSplash* splash_ = nullptr;
  std::array<QCheckBox*, kClipKindCount> clip_type_boxes_{};
  bool busy_ = false;
  bool closing_ = false;
};

}  // namespace rsf::ui
