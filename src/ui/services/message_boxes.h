// Message boxes the window shows, behind an interface so that tests can read and answer them.
#pragma once

#include <QString>

class QWidget;

namespace rsf::ui {

enum class BoxIcon { kWarning, kInformation, kError, kStop };
enum class RetryIgnoreAnswer { kRetry, kIgnore };

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

}  // namespace rsf::ui
