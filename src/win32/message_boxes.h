// The desktop core's message boxes drawn by Windows, modal to the main window: MessageBoxW with
// the box's icon, and the retry-or-ignore question as a task dialog whose buttons carry the
// window's own captions.
#pragma once

#include <windows.h>

#include "desktop/message_boxes.h"

namespace rsf::win32 {

class Win32MessageBoxes final : public desktop::MessageBoxes {
 public:
  // The window the boxes are modal to; none before the main window exists.
  void SetOwner(HWND owner) { owner_ = owner; }
  void Show(desktop::BoxIcon icon, const std::string& caption, const std::string& text) override;
  desktop::RetryIgnoreAnswer AskRetryIgnore(const std::string& caption, const std::string& text) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace rsf::win32
