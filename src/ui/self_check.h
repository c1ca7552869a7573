// The Qt program's part of rsf-extractor --self-check (desktop/self_check.h): the window's own
// message boxes, which Qt draws apart from the desktop core's, go to the report too.
#pragma once

#include <QString>
#include <cstdio>

#include "desktop/self_check.h"
#include "ui/services/message_boxes.h"

namespace rsf::ui {

// Message boxes that nobody clicks, written as desktop::ConsoleMessageBoxes writes them.
class ConsoleMessageBoxes final : public MessageBoxes {
 public:
  explicit ConsoleMessageBoxes(std::FILE* out) : console_(out) {}
  void Show(QWidget* owner, BoxIcon icon, const QString& caption, const QString& text) override;
  RetryIgnoreAnswer AskRetryIgnore(QWidget* owner, const QString& caption, const QString& text) override;

 private:
  desktop::ConsoleMessageBoxes console_;
};

}  // namespace rsf::ui
