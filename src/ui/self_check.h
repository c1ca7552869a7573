// rsf-extractor --self-check SOURCE: the program as installed proves that it works. The main
// window scans SOURCE exactly as the user's Start Analysis would (offscreen where there is no
// display), then the check prints the list's lines, the status text and where the window found
// its user guide and the ASPI provider, one line each.
#pragma once

#include <QString>
#include <cstdio>
#include <string>

#include "ui/services/message_boxes.h"

namespace rsf::ui {

class Program;

// Message boxes that nobody clicks: each one becomes a line of the report ("message: caption:
// text"), and a question is answered with Ignore.
class ConsoleMessageBoxes final : public MessageBoxes {
 public:
  explicit ConsoleMessageBoxes(std::FILE* out);
  void Show(QWidget* owner, BoxIcon icon, const QString& caption, const QString& text) override;
  RetryIgnoreAnswer AskRetryIgnore(QWidget* owner, const QString& caption, const QString& text) override;

 private:
  std::FILE* out_;
};

// Exit status 0 when the scan completed and the user guide was found, else 1.
int RunSelfCheck(Program& program, const std::string& source, std::FILE* out);

}  // namespace rsf::ui
