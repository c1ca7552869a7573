// The installed program's self-check.
#include "desktop/self_check.h"

#include "base/line_separator.h"
#include "platform/aspi_library.h"
#include "platform/file.h"
#include "scan/catalogue/clip_catalogue.h"
#include "scan/catalogue/clip_type_table.h"
#include "scan/engine/scan_observer.h"

namespace rsf::desktop {
namespace {

// The box's text as the box shows it: every line separator of the program's texts one line
// break.
std::string ShownLines(const std::string& text) {
  std::string shown;
  std::size_t from = 0;
  for (std::size_t at = text.find(kLineSeparator); at != std::string::npos; at = text.find(kLineSeparator, from)) {
    shown.append(text, from, at - from).push_back('\n');
    from = at + kLineSeparator.size();
  }
  return shown.append(text, from);
}

const char* Presence(const std::string& path) { return platform::FileExists(path) ? "found" : "missing"; }

}  // namespace

void ConsoleMessageBoxes::Show(BoxIcon, const std::string& caption, const std::string& text) {
  std::fprintf(out_, "message: %s: %s\n", ShownLines(caption).c_str(), ShownLines(text).c_str());
}

RetryIgnoreAnswer ConsoleMessageBoxes::AskRetryIgnore(const std::string& caption, const std::string& text) {
  Show(BoxIcon::kError, caption, text);
  return RetryIgnoreAnswer::kIgnore;
}

// The source goes into the window's source field and the presenter's command scans it, as a
// click would; the clip list is printed from the catalogue the scan made.
int RunSelfCheck(MainView& view, MainPresenter& presenter, const std::string& source, std::FILE* out) {
  view.SetSourcePath(source);
  presenter.Command([&presenter] { presenter.StartAnalysis(); });
  const ClipCatalogue& catalogue = presenter.Engine().Catalogue();
  for (std::size_t i = 0; i < catalogue.size(); ++i)
    std::fprintf(out, "%s\n", ListLine(i + 1, TypeNameOf(catalogue[i]), catalogue[i]).c_str());
  const std::string status = view.Status(kStatusPanelActivity);
  std::fprintf(out, "status: %s\n", status.c_str());
  std::fprintf(out, "target prefix: %s\n", view.TargetPath().c_str());
  const std::string& help_file = presenter.HelpFile();
  std::fprintf(out, "user guide: %s (%s)\n", help_file.c_str(), Presence(help_file));
  const std::string provider = platform::AspiLibraryPath();
  std::fprintf(out, "ASPI provider: %s (%s)\n", provider.c_str(), Presence(provider));
  std::fflush(out);
  const bool scanned = status.rfind(kStatusScanFinished, 0) == 0;
  return scanned && platform::FileExists(help_file) ? 0 : 1;
}

}  // namespace rsf::desktop
