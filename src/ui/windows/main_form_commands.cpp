// The command set of the main window: the actions with captions, hints, shortcuts and
// pictures, the menu bar, the tool bar, the list's pop-up menu, and the wiring of controls to
// their handlers.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolBar>

#include "ui/widgets/check_list_box.h"
#include "ui/display_text.h"
#include "ui/widgets/header_control.h"
#include "ui/windows/main_form.h"
#include "ui/widgets/shortcut_priority.h"
#include "ui/widgets/toolbar_icons.h"
#include "desktop/command_pictures.h"
#include "desktop/window_texts.h"

namespace rsf::ui {
namespace {

constexpr int kToolBarHeight = 30;

QAction* NewAction(QObject* owner, const char* name, const char* caption, const char* hint, int image,
                   const QKeySequence& shortcut = {}) {
  auto* action = new QAction(ToolbarIcon(image), DisplayText(caption), owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setToolTip(DisplayText(hint));
  action->setShortcut(shortcut);
  return action;
}

QAction* NewItem(QObject* owner, const char* name, const char* caption, bool ticked) {
  auto* item = new QAction(DisplayText(caption), owner);
  item->setObjectName(QString::fromLatin1(name));
  item->setCheckable(true);
  item->setChecked(ticked);
  return item;
}

}  // namespace

void TfrmMainForm::CreateActions() {
  OpenSource = NewAction(this, "OpenSource", desktop::kOpenSourceCaption, desktop::kOpenSourceHint, desktop::kPictureOpenSource,
                         QKeySequence(Qt::CTRL | Qt::Key_O));
  StartAnalysis = NewAction(this, "StartAnalysis", desktop::kStartAnalysisCaption, desktop::kStartAnalysisHint, desktop::kPictureStartAnalysis,
                            QKeySequence(Qt::CTRL | Qt::Key_A));
  SelectAll = NewAction(this, "SelectAll", desktop::kSelectAllCaption, desktop::kSelectAllHint, desktop::kPictureSelectAll);
  UnSelectAll = NewAction(this, "UnSelectAll", desktop::kUnSelectAllCaption, desktop::kUnSelectAllHint, desktop::kPictureUnSelectAll);
  Play = NewAction(this, "Play", desktop::kPlayCaption, desktop::kPlayHint, desktop::kPicturePlay);
  SelectTarget = NewAction(this, "SelectTarget", desktop::kSelectTargetCaption, desktop::kSelectTargetHint, desktop::kPictureSelectTarget,
                           QKeySequence(Qt::CTRL | Qt::Key_T));
  SaveClips = NewAction(this, "SaveClips", desktop::kSaveClipsCaption, desktop::kSaveClipsHint, desktop::kPictureSaveClips,
                        QKeySequence(Qt::CTRL | Qt::Key_S));
  UseCDMode = NewAction(this, "UseCDMode", desktop::kUseCDModeCaption, desktop::kUseCDModeHint, desktop::kPictureCdMode);
  UseCDMode->setCheckable(true);
  ShowHelp = NewAction(this, "ShowHelp", desktop::kShowHelpCaption, desktop::kShowHelpHint, desktop::kPictureHelp);
  SplashShow = NewAction(this, "SplashShow", desktop::kSplashShowCaption, desktop::kSplashShowHint, desktop::kPictureAbout,
                         QKeySequence(Qt::CTRL | Qt::Key_I));
  // Shortcuts work whether or not the tool bar is shown.
  addActions({OpenSource, StartAnalysis, SelectAll, UnSelectAll, Play, SelectTarget, SaveClips, UseCDMode, ShowHelp,
              SplashShow});

  Exit1 = new QAction(DisplayText(desktop::kExitCaption), this);
  Exit1->setObjectName(QStringLiteral("Exit1"));
  Toolbar1 = NewItem(this, "Toolbar1", desktop::kToolbarCaption, true);
  Statusbar2 = NewItem(this, "Statusbar2", desktop::kStatusbarCaption, true);
  StartAnalysisonDragDrop1 = NewItem(this, "StartAnalysisonDragDrop1", desktop::kStartOnDropCaption, true);
  Tryinternalplaybackfirst = NewItem(this, "Tryinternalplaybackfirst", desktop::kInternalPlaybackCaption, true);
  PreciseBoundaries1 = NewItem(this, "PreciseBoundaries1", desktop::kPreciseBoundariesCaption, false);
  MP3Mode1 = NewItem(this, "MP3Mode1", desktop::kMp3ModeCaption, false);
  Ignorereaderrors1 = NewItem(this, "Ignorereaderrors1", desktop::kIgnoreReadErrorsCaption, false);
}

void TfrmMainForm::CreateMenus() {
  QMenuBar* MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  auto menu = [&](const char* name, const char* title, std::initializer_list<QAction*> items) {
    QMenu* added = MainMenu1->addMenu(DisplayText(title));
    added->setObjectName(QString::fromLatin1(name));
    for (QAction* item : items) {
      if (item == nullptr)
        added->addSeparator();
      else
        added->addAction(item);
    }
    return added;
  };
  File1 = menu("File1", desktop::kMenuSource, {OpenSource, StartAnalysis, nullptr, Exit1});
  Clips1 = menu("Clips1", desktop::kMenuClips, {SelectAll, UnSelectAll, nullptr, Play});
  Target1 = menu("Target1", desktop::kMenuTarget, {SelectTarget, SaveClips});
  View1 = menu("View1", desktop::kMenuView, {Toolbar1, Statusbar2});
  BETA1 = menu("BETA1", desktop::kMenuOptions, {UseCDMode, StartAnalysisonDragDrop1, Tryinternalplaybackfirst, PreciseBoundaries1});
  N1 = menu("N1", desktop::kMenuHelp, {ShowHelp, SplashShow});
  BETA2 = menu("BETA2", desktop::kMenuTest, {MP3Mode1, Ignorereaderrors1});

  popupClips = new QMenu(this);
  popupClips->setObjectName(QStringLiteral("popupClips"));
  popupClips->addActions({SelectAll, UnSelectAll});
  popupClips->addSeparator();
  popupClips->addAction(Play);
}

void TfrmMainForm::CreateToolBar() {
  tlbarMain = new QToolBar(this);
  tlbarMain->setObjectName(QStringLiteral("tlbarMain"));
  tlbarMain->setMovable(false);
  tlbarMain->setFloatable(false);
  tlbarMain->setIconSize(QSize(16, 16));
  tlbarMain->setToolButtonStyle(Qt::ToolButtonIconOnly);
  tlbarMain->setFixedHeight(kToolBarHeight);
  addToolBar(Qt::TopToolBarArea, tlbarMain);
  for (QAction* action : {OpenSource, StartAnalysis, static_cast<QAction*>(nullptr), SelectAll, UnSelectAll, Play,
                          static_cast<QAction*>(nullptr), SelectTarget, SaveClips, static_cast<QAction*>(nullptr),
                          UseCDMode, static_cast<QAction*>(nullptr), ShowHelp, SplashShow}) {
    if (action == nullptr)
      tlbarMain->addSeparator();
    else
      tlbarMain->addAction(action);
  }
}

void TfrmMainForm::ConnectCommand(QAction* action, void (TfrmMainForm::*handler)()) {
  connect(action, &QAction::triggered, this, [this, handler] { Command([this, handler] { (this->*handler)(); }); });
}

void TfrmMainForm::ConnectControls() {
  ConnectCommand(OpenSource, &TfrmMainForm::OpenSourceExecute);
  ConnectCommand(StartAnalysis, &TfrmMainForm::StartAnalysisExecute);
  ConnectCommand(SelectAll, &TfrmMainForm::SelectAllExecute);
  ConnectCommand(UnSelectAll, &TfrmMainForm::UnSelectAllExecute);
  ConnectCommand(Play, &TfrmMainForm::PlayExecute);
  ConnectCommand(SelectTarget, &TfrmMainForm::SelectTargetExecute);
  ConnectCommand(SaveClips, &TfrmMainForm::SaveClipsExecute);
  ConnectCommand(UseCDMode, &TfrmMainForm::UseCDModeExecute);
  ConnectCommand(ShowHelp, &TfrmMainForm::ShowHelpExecute);
  ConnectCommand(SplashShow, &TfrmMainForm::SplashShowExecute);
  ConnectCommand(Exit1, &TfrmMainForm::Exit1Click);
  ConnectCommand(Toolbar1, &TfrmMainForm::Toolbar1Click);
  ConnectCommand(Statusbar2, &TfrmMainForm::Statusbar2Click);
  ConnectCommand(MP3Mode1, &TfrmMainForm::MP3Mode1Click);

  connect(btnSourceBrowse, &QPushButton::clicked, OpenSource, &QAction::trigger);
  connect(btnTargetBrowse, &QPushButton::clicked, SelectTarget, &QAction::trigger);
  connect(edtSourceFile, &QLineEdit::textChanged, this, [this] { edtSourceFileChange(); });
  // Only the user's choice counts as a change, not the filling of the list.
  connect(comboCDDRIVES, &QComboBox::activated, this, [this] { Command([this] { comboCDDRIVESChange(); }); });
  // Dragging a divider of the header realigns the list's columns at once.
  connect(HeaderControl1, &QHeaderView::sectionResized, this, [this] { rzFoundClips->UpdateFromHeader(*HeaderControl1); });
  connect(rzFoundClips, &CheckListBox::EntryClicked, this, [this] { rzFoundClipsClick(); });
  connect(rzFoundClips, &QListWidget::itemDoubleClicked, this, [this] { Command([this] { PlayExecute(); }); });
  rzFoundClips->setContextMenuPolicy(Qt::CustomContextMenu);
  // A right-click on an entry selects it, and the pane shows it, as a left click does.
  connect(rzFoundClips, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QListWidgetItem* item = rzFoundClips->itemAt(at)) {
      rzFoundClips->setCurrentItem(item);
      rzFoundClipsClick();
    }
    popupClips->popup(rzFoundClips->viewport()->mapToGlobal(at));
  });

  // F1 asks for the help of the window, which is the user guide's opening topic.
  auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help_key, &QShortcut::activated, this, [this] { Command([this] { ShowHelpExecute(); }); });

  for (QWidget* field : {static_cast<QWidget*>(edtSourceFile), static_cast<QWidget*>(edtTargetFiles),
                         Memo1->viewport(), static_cast<QWidget*>(comboCDDRIVES)}) {
    field->setAcceptDrops(true);  // so that the drag reaches the filter, which hands it on
    field->installEventFilter(this);
  }

  auto* priority = new ShortcutPriority(this, actions());
  edtSourceFile->installEventFilter(priority);
  edtTargetFiles->installEventFilter(priority);
  Memo1->installEventFilter(priority);
}

}  // namespace rsf::ui
