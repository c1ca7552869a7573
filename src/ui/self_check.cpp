// The self-check's message boxes in the Qt program.
#include "ui/self_check.h"

namespace rsf::ui {

void ConsoleMessageBoxes::Show(QWidget*, BoxIcon icon, const QString& caption, const QString& text) {
  console_.Show(icon, caption.toStdString(), text.toStdString());
}

RetryIgnoreAnswer ConsoleMessageBoxes::AskRetryIgnore(QWidget*, const QString& caption, const QString& text) {
  return console_.AskRetryIgnore(caption.toStdString(), text.toStdString());
}

}  // namespace rsf::ui
