// The installed program's self-check.
#include "ui/self_check.h"

#include <QFileInfo>
#include <QLineEdit>

#include "platform/aspi_library.h"
#include "scan/engine/scan_observer.h"
#include "ui/program.h"
#include "ui/widgets/check_list_box.h"
#include "ui/widgets/status_panels.h"
#include "ui/windows/main_form.h"

namespace rsf::ui {

ConsoleMessageBoxes::ConsoleMessageBoxes(std::FILE* out) : out_(out) {}

void ConsoleMessageBoxes::Show(QWidget*, BoxIcon, const QString& caption, const QString& text) {
  std::fprintf(out_, "message: %s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
}

RetryIgnoreAnswer ConsoleMessageBoxes::AskRetryIgnore(QWidget* owner, const QString& caption, const QString& text) {
  Show(owner, BoxIcon::kError, caption, text);
  return RetryIgnoreAnswer::kIgnore;
}

int RunSelfCheck(Program& program, const QString& source, std::FILE* out) {
  TfrmMainForm& form = program.MainForm();
  form.edtSourceFile->setText(source);
  form.StartAnalysisExecute();
  for (int i = 0; i < form.rzFoundClips->Count(); ++i)
    std::fprintf(out, "%s\n", form.rzFoundClips->item(i)->text().toUtf8().constData());
  const QString status = form.stbarMain->Text(kStatusPanelActivity);
  std::fprintf(out, "status: %s\n", status.toUtf8().constData());
  const bool guide = QFileInfo::exists(form.HelpFile());
  std::fprintf(out, "user guide: %s (%s)\n", form.HelpFile().toUtf8().constData(), guide ? "found" : "missing");
  const std::string provider = platform::AspiLibraryName();
  std::fprintf(out, "ASPI provider: %s (%s)\n", provider.c_str(),
               QFileInfo::exists(QString::fromStdString(provider)) ? "found" : "missing");
  const bool scanned = status.startsWith(QString::fromUtf8(kStatusScanFinished));
  return scanned && guide ? 0 : 1;
}

}  // namespace rsf::ui
