// Source and target: the browse commands, the source field's and the drive list's change,
// and files dropped on the window.
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMimeData>
#include <QUrl>

#include "ui/widgets/check_list_box.h"
#include "ui/services/form_services.h"
#include "ui/windows/main_form.h"
#include "ui/target_path.h"

namespace rsf::ui {
namespace {

QStringList DroppedFiles(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile());
  return paths;
}

}  // namespace

void TfrmMainForm::OpenSourceExecute() {
  if (const std::optional<QString> path = services_.dialogs->OpenFile(this)) edtSourceFile->setText(*path);
}

void TfrmMainForm::SelectTargetExecute() {
  if (const std::optional<QString> path = services_.dialogs->SaveFile(this))
    edtTargetFiles->setText(TargetPrefix(*path));
}

// The list shows clips only as long as the source field names what was scanned; the
// information pane goes with it.
void TfrmMainForm::edtSourceFileChange() { ClearClipList(); }

// Another drive: its clips are not those listed. The catalogue waits for the next scan.
void TfrmMainForm::comboCDDRIVESChange() { ClearClipList(); }

void TfrmMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && !UseCDMode->isChecked() && !DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TfrmMainForm::dragMoveEvent(QDragMoveEvent* event) {
  if (!busy_ && !UseCDMode->isChecked()) event->acceptProposedAction();
}

// The drop is answered at once and handled right after, so that the program the files came
// from is not kept waiting through a whole scan. A drop during a scan is ignored: it would
// empty the list under the running scan.
void TfrmMainForm::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedFiles(event->mimeData());
  if (busy_ || UseCDMode->isChecked() || paths.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  QMetaObject::invokeMethod(
      this, [this, paths] { Command([this, paths] { WMDropFiles(paths); }); }, Qt::QueuedConnection);
}

bool TfrmMainForm::eventFilter(QObject* watched, QEvent* event) {
  const bool field = watched == static_cast<QObject*>(edtSourceFile) || watched == static_cast<QObject*>(edtTargetFiles) ||
                     watched == static_cast<QObject*>(Memo1->viewport()) || watched == static_cast<QObject*>(comboCDDRIVES);
  if (!field) return QMainWindow::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
      dragEnterEvent(static_cast<QDragEnterEvent*>(event));
      return true;
    case QEvent::DragMove:
      dragMoveEvent(static_cast<QDragMoveEvent*>(event));
      return true;
    case QEvent::DragLeave:
      return true;
    case QEvent::Drop:
      dropEvent(static_cast<QDropEvent*>(event));
      return true;
    default:
      return QMainWindow::eventFilter(watched, event);
  }
}

// Each dropped file replaces the one before in the source field; the last one is scanned when
// the option asks for it.
void TfrmMainForm::WMDropFiles(const QStringList& paths) {
  if (busy_ || UseCDMode->isChecked()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct CursorBack {
    ~CursorBack() { QApplication::restoreOverrideCursor(); }
  } cursor_back;
  for (const QString& path : paths) edtSourceFile->setText(path);
  if (presenter_.Options().start_analysis_on_drop) StartAnalysisExecute();
}

}  // namespace rsf::ui
