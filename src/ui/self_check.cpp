// The installed program's self-check.
#include "ui/self_check.h"

#include "platform/aspi_library.h"
#include "platform/file.h"
#include "scan/catalogue/clip_type_table.h"
#include "scan/engine/scan_observer.h"
#include "ui/program.h"
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

// The scan runs as the user's would: the source goes into the main window's source field and the
// presenter's command scans it; the clip list is printed from the catalogue it made.
int RunSelfCheck(Program& program, const std::string& source, std::FILE* out) {
  TfrmMainForm& form = program.MainForm();
  desktop::MainPresenter& presenter = form.Presenter();
  form.SetSourcePath(source);
  presenter.Command([&presenter] { presenter.StartAnalysis(); });
  const ClipCatalogue& catalogue = presenter.Engine().Catalogue();
  for (std::size_t i = 0; i < catalogue.size(); ++i)
    std::fprintf(out, "%s\n", ListLine(i + 1, TypeNameForExtension(catalogue[i].Extension), catalogue[i]).c_str());
  const std::string status = form.Status(kStatusPanelActivity);
  std::fprintf(out, "status: %s\n", status.c_str());
  const std::string& help_file = presenter.HelpFile();
  const bool guide = platform::FileExists(help_file);
  std::fprintf(out, "user guide: %s (%s)\n", help_file.c_str(), guide ? "found" : "missing");
  const std::string provider = platform::AspiLibraryName();
  std::fprintf(out, "ASPI provider: %s (%s)\n", provider.c_str(), platform::FileExists(provider) ? "found" : "missing");
  const bool scanned = status.rfind(kStatusScanFinished, 0) == 0;
  return scanned && guide ? 0 : 1;
}

}  // namespace rsf::ui
