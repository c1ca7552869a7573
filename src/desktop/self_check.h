// rsf-extractor --self-check SOURCE, the same in every front end: the program as installed proves
// that it works. The main window, never shown, scans SOURCE exactly as the user's Start Analysis
// would; then the check prints the list's lines, the status text, the target prefix the window
// starts with, and where it found its user guide and the ASPI provider, one line each.
#pragma once

#include <cstdio>
#include <string>

#include "desktop/main_presenter.h"
#include "desktop/main_view.h"
#include "desktop/message_boxes.h"

namespace rsf::desktop {

// Message boxes that nobody clicks: each one becomes a line of the report ("message: caption:
// text", the text's own lines broken as in the box), and a question is answered with Ignore.
class ConsoleMessageBoxes final : public MessageBoxes {
 public:
  explicit ConsoleMessageBoxes(std::FILE* out) : out_(out) {}
  void Show(BoxIcon icon, const std::string& caption, const std::string& text) override;
  RetryIgnoreAnswer AskRetryIgnore(const std::string& caption, const std::string& text) override;

 private:
  std::FILE* out_;
};

// Scans `source` in the window `view` whose presenter is `presenter` and reports to `out`, which
// is flushed before the call returns (a program without a console exits right after). Exit
// status 0 when the scan completed and the user guide was found, else 1.
int RunSelfCheck(MainView& view, MainPresenter& presenter, const std::string& source, std::FILE* out);

}  // namespace rsf::desktop
