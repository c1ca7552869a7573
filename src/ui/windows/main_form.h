// The main window: source and target fields, the list of found clips with its information
// pane, the clip-type boxes, gauge, tool bar, menus and status bar. It maps the controls to the
// core's scan and extraction, and offers the features that bind the core to it (scan progress,
// playback, CD mode) the narrow views they work with.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "scan/catalogue/clip_types.h"
#include "desktop/main_presenter.h"
#include "desktop/main_window_layout.h"
#include "desktop/main_view.h"
#include "scan/engine/scan_engine.h"
#include "ui/features/cd_mode_binding.h"
#include "ui/features/form_hooks.h"
#include "ui/features/playback.h"
#include "ui/services/general_error_display.h"
#include "ui/services/message_boxes.h"

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

class TfrmMainForm final : public QMainWindow,
                           public desktop::MainView,
                           public PlaybackWindow,
                           public CdModeWindow {
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
  // drops run them through the general error display and refuse them while a scan runs.
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

  // --- state other features read or extend ---
  bool NTDeviceMode() const override { return nt_device_mode_; }
  // Temporary clip copies; each is deleted when the window closes.
  std::vector<std::string>& TemporaryFiles() { return temporary_files_; }
  const ScanEngine& Engine() const { return presenter_.Engine(); }
  desktop::MainPresenter& Presenter() { return presenter_; }
  FormHooks& Hooks() { return hooks_; }
  const QString& HelpFile() const { return help_file_; }
  const QString& ApplicationTitle() const { return application_title_; }
  const GeneralErrorDisplay& ErrorDisplay() const { return error_display_; }
  bool Busy() const { return busy_; }
  void SetAboutWindow(TfrmSplash* splash) { splash_ = splash; }
  // The clip-type check boxes ("chkQT", "chkVOC", ...), by ClipKind.
  const std::array<QCheckBox*, kClipKindCount>& ClipTypeBoxes() const { return clip_type_boxes_; }
  QCheckBox* ClipTypeBox(ClipKind kind) const { return clip_type_boxes_[static_cast<std::size_t>(kind)]; }
  // Empties the list of found clips and the information pane, which belongs to its entries.
  void ClearClipList() override;
  // The clock by which a scan's repaints and event rounds are paced (tests set a false one).
  void SetPacingClock(desktop::EventPacer::Clock clock) { presenter_.SetPacingClock(std::move(clock)); }
  bool Closing() const override { return closing_; }

  // --- desktop::MainView ---
  void SetBusy(bool busy) override;
  void StartClipList() override;
  void AddClipLine(const std::string& line) override;
  void TickAllClips() override;
  void UntickAllClips() override;
  std::vector<bool> ClipTicks() const override;
  std::string TargetPath() const override;
  void SetGaugeMaximum(std::int64_t maximum) override;
  void SetGaugeProgress(std::int64_t position) override;
  void SetStatus(int panel, const std::string& text) override;
  void RepaintNow() override { repaint(); }
  void ProcessEvents() override;

  // --- PlaybackWindow ---
  QWidget& Owner() override { return *this; }
  const ClipCatalogue& Clips() const override { return presenter_.Engine().Catalogue(); }
  int SelectedClip() const override;
  SourceStream* ClipSource() const override { return presenter_.Engine().Source(); }
  bool InternalPlaybackFirst() const override;
  void ShowActivity(const char* text) override;
  bool ShowsActivity(const char* text) const override;
  void KeepTemporaryFile(const std::string& path) override { temporary_files_.push_back(path); }

  // --- CdModeWindow ---
  QComboBox& DriveList() override { return *comboCDDRIVES; }
  void ShowCdMode(bool on) override;

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
  // Runs a command handler unless a scan is under way; errors go to the general error display.
  void Command(const std::function<void()>& handler);
  void ConnectCommand(QAction* action, void (TfrmMainForm::*handler)());
  ScanEngine::SourceOpener SourceOpener() const;
  // Keeps the presenter's option state in step with the boxes and items the user clicks.
  void ConnectOptions();

  FormServices& services_;
  OwnedMessageBoxes presenter_boxes_;
  desktop::MainPresenter presenter_{*this, presenter_boxes_};
  FormHooks hooks_;
  GeneralErrorDisplay error_display_;
  QString application_title_;
  QString help_file_;
  bool nt_device_mode_ = false;
  std::vector<std::string> temporary_files_;
  Anchors* panel_anchors_ = nullptr;
  TfrmSplash* splash_ = nullptr;
  std::array<QCheckBox*, kClipKindCount> clip_type_boxes_{};
  bool busy_ = false;
  bool closing_ = false;
};

}  // namespace rsf::ui
