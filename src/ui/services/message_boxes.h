// Message boxes the window shows, behind an interface so that tests can read and answer them,
// and the desktop core's boxes shown through them.
#pragma once

#include <QString>
#include <string>

#include "desktop/message_boxes.h"

class QWidget;

namespace rsf::ui {

using desktop::BoxIcon;
using desktop::RetryIgnoreAnswer;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A box with one button "确定".
  virtual void Show(QWidget* owner, BoxIcon icon, const QString& caption, const QString& text) = 0;
  // An error box with the buttons "重试(&R)" and "忽略(&I)".
  virtual RetryIgnoreAnswer AskRetryIgnore(QWidget* owner, const QString& caption, const QString& text) = 0;
};

// The real boxes, modal to their owner.
class QtMessageBoxes final : public MessageBoxes {
 public:
  void Show(QWidget* owner, BoxIcon icon, const QString& caption, const QString& text) override;
  RetryIgnoreAnswer AskRetryIgnore(QWidget* owner, const QString& caption, const QString& text) override;
};

// The desktop core's boxes, shown through `boxes` modal to `owner`.
class OwnedMessageBoxes final : public desktop::MessageBoxes {
 public:
  OwnedMessageBoxes(ui::MessageBoxes& boxes, QWidget* owner) : boxes_(boxes), owner_(owner) {}
  void Show(BoxIcon icon, const std::string& caption, const std::string& text) override;
  RetryIgnoreAnswer AskRetryIgnore(const std::string& caption, const std::string& text) override;

 private:
  ui::MessageBoxes& boxes_;
  QWidget* owner_;
};

}  // namespace rsf::ui
