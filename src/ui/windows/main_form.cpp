// The main window's life: creation, resizing, the view and option items, help, the About
// window, and closing with the deletion of temporary clip copies.
#include "ui/windows/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QToolBar>

#include "ui/widgets/anchors.h"
#include "ui/display_text.h"
#include "ui/services/form_services.h"
#include "desktop/command_pictures.h"
#include "desktop/product.h"
#include "ui/windows/splash_form.h"
#include "ui/widgets/status_panels.h"
#include "ui/widgets/toolbar_icons.h"
#include "desktop/window_texts.h"

namespace rsf::ui {

TfrmMainForm::TfrmMainForm(FormServices& services, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      presenter_boxes_(*services.boxes, this),
      presenter_dialogs_(*services.dialogs, this),
      image_(new TfrmImage(this)),
      presenter_(*this,
                 desktop::DesktopServices{presenter_boxes_, presenter_dialogs_, *services.shell, *services.deleter,
                                          *services.player, *image_, *services.temporary_folder},
                 desktop::DefaultHelpFile()) {
  setObjectName(QStringLiteral("frmMainForm"));
  setWindowIcon(ToolbarIcon(desktop::kPictureStartAnalysis));
  CreateControls();
  CreateActions();
  CreateMenus();
  CreateToolBar();
  ConnectControls();
  ConnectOptions();
  // Esc stops a running scan at its next event round (the only key that works while it runs).
  auto* stop_scan = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(stop_scan, &QShortcut::activated, this, [this] { presenter_.StopScan(); });

  resize(desktop::kOuterWidth - kNominalFrameWidth, desktop::kOuterHeight - kNominalFrameHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    move(available.center() - QPoint(desktop::kOuterWidth / 2, desktop::kOuterHeight / 2));
  }
  FormCreate(arguments);
}

TfrmMainForm::~TfrmMainForm() = default;

void TfrmMainForm::FormCreate(const QStringList& arguments) {
  // Elapsed and remaining times come from the core already written as hh:mm:ss.
  setAcceptDrops(true);
  application_title_ = DisplayText(desktop::ApplicationTitle());
  setWindowTitle(application_title_);
  SetTargetPath(desktop::DefaultTargetPrefix(LocalPath(QDir::homePath() + QLatin1Char('/'))));
  if (!arguments.isEmpty()) edtSourceFile->setText(arguments.front());
}

void TfrmMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

// Keeps the two group boxes side by side at half the width each and lines the clip list up
// under the source box (which also undoes any move of the splitter).
void TfrmMainForm::FormResize() {
  const desktop::SourceAndTargetBoxes boxes = desktop::SourceAndTargetAtWidth(width() + kNominalFrameWidth, panelMain->width());
  panel_anchors_->SetBounds(GroupBox2, boxes.target);
  panel_anchors_->SetBounds(GroupBox1, boxes.source);

  const int clips_width = GroupBox1->width();
  Splitter1->setSizes({clips_width, qMax(0, Splitter1->width() - clips_width - Splitter1->handleWidth())});

  comboCDDRIVES->setGeometry(edtSourceFile->x(), edtSourceFile->y(),
                             btnSourceBrowse->x() + btnSourceBrowse->width() - edtSourceFile->x(),
                             comboCDDRIVES->sizeHint().height());
}

void TfrmMainForm::Toolbar1Click() { tlbarMain->setVisible(Toolbar1->isChecked()); }

void TfrmMainForm::Statusbar2Click() { stbarMain->setVisible(Statusbar2->isChecked()); }

// Greys the clip-type boxes while MP3 mode is on; their ticks stay as they are.
void TfrmMainForm::MP3Mode1Click() {
  for (QGroupBox* group : {grpbxClips, grpbxMoreClips})
    for (QWidget* control : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      control->setEnabled(!MP3Mode1->isChecked());
}

void TfrmMainForm::UseCDModeExecute() { presenter_.UseCDMode(UseCDMode->isChecked()); }

// Drops are accepted in file mode only (a drop that reaches the window in CD mode anyway is
// refused).
void TfrmMainForm::ShowCdMode(bool on) {
  UseCDMode->setChecked(on);
  comboCDDRIVES->setVisible(on);
  edtSourceFile->setVisible(!on);
  btnSourceBrowse->setVisible(!on);
  OpenSource->setEnabled(!on);
  setAcceptDrops(!on);
}

void TfrmMainForm::PlayExecute() { presenter_.Play(); }

void TfrmMainForm::ShowHelpExecute() { presenter_.ShowHelp(); }

QString TfrmMainForm::HelpFile() const { return PathFromLocal(presenter_.HelpFile()); }

void TfrmMainForm::SplashShowExecute() {
  if (splash_ != nullptr) splash_->exec();
}

void TfrmMainForm::Exit1Click() { close(); }

void TfrmMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

// Runs once, whether the window is closed by its close box, by "退出" or in the middle of a
// scan (which then stops at its next window).
void TfrmMainForm::FormClose() {
  if (closing_) return;
  closing_ = true;
  presenter_.Close();
  // Closing the main window ends the program, whatever other window is still about.
  QCoreApplication::quit();
}

}  // namespace rsf::ui
