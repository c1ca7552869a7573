// Source and target: the fields and the drive list as the presenter reads and fills them, the
// browse commands, the fields' changes, and files dropped on the window.
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
#include "ui/display_text.h"
#include "ui/windows/main_form.h"

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

void TfrmMainForm::OpenSourceExecute() { presenter_.OpenSource(); }

void TfrmMainForm::SelectTargetExecute() { presenter_.SelectTarget(); }

void TfrmMainForm::edtSourceFileChange() { presenter_.SourceChanged(); }

void TfrmMainForm::comboCDDRIVESChange() { presenter_.SourceChanged(); }

std::string TfrmMainForm::SourcePath() const { return LocalPath(edtSourceFile->text()); }

void TfrmMainForm::SetSourcePath(const std::string& path) { edtSourceFile->setText(PathFromLocal(path)); }

// The drive entries are kept byte for byte in the items' data, the shown text is for the eye
// only.
void TfrmMainForm::SetDriveEntries(const std::vector<std::string>& entries) {
  comboCDDRIVES->clear();
  for (const std::string& entry : entries) comboCDDRIVES->addItem(PathFromLocal(entry), QByteArray::fromStdString(entry));
}

void TfrmMainForm::SelectDrive(int index) { comboCDDRIVES->setCurrentIndex(index); }

std::string TfrmMainForm::SelectedDriveEntry() const {
  if (comboCDDRIVES->currentIndex() < 0) return {};
  return comboCDDRIVES->currentData().toByteArray().toStdString();
}

void TfrmMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (presenter_.AcceptsDrops() && !DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TfrmMainForm::dragMoveEvent(QDragMoveEvent* event) {
  if (presenter_.AcceptsDrops()) event->acceptProposedAction();
}

// The drop is answered at once and handled right after, so that the program the files came
// from is not kept waiting through a whole scan. A drop during a scan is ignored: it would
// empty the list under the running scan.
void TfrmMainForm::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedFiles(event->mimeData());
  if (!presenter_.AcceptsDrops() || paths.isEmpty()) {
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

// The hourglass shows while the drop is handled.
void TfrmMainForm::WMDropFiles(const QStringList& paths) {
  if (!presenter_.AcceptsDrops()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct CursorBack {
    ~CursorBack() { QApplication::restoreOverrideCursor(); }
  } cursor_back;
  std::vector<std::string> local;
  for (const QString& path : paths) local.push_back(LocalPath(path));
  presenter_.DropFiles(local);
}

}  // namespace rsf::ui
