// The message boxes the desktop core shows, behind an interface so that each toolkit draws its
// own and tests read and answer them. Texts are UTF-8; lines are separated by kLineSeparator.
#pragma once

#include <string>

namespace rsf::desktop {

enum class BoxIcon { kWarning, kInformation, kError, kStop };
enum class RetryIgnoreAnswer { kRetry, kIgnore };

class MessageBoxes {
 public:
  // A box with one button "确定", modal to the main window.
  virtual void Show(BoxIcon icon, const std::string& caption, const std::string& text) = 0;
  // An error box with the buttons "重试(&R)" and "忽略(&I)".
  virtual RetryIgnoreAnswer AskRetryIgnore(const std::string& caption, const std::string& text) = 0;

 protected:
  ~MessageBoxes() = default;
};

}  // namespace rsf::desktop
