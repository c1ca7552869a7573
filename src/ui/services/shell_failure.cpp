// The shell-failure warning.
#include "ui/services/shell_failure.h"

#include <string>

#include "ui/display_text.h"
#include "ui/services/errorcode.h"
#include "ui/services/message_boxes.h"
#include "ui/window_texts.h"

namespace rsf::ui {

std::string ShellFailureText(const platform::OpenOutcome& outcome) {
  const std::string reason = outcome.reason.empty() ? ErrorText(outcome.error) : outcome.reason;
  return std::string(kShellFailureFirstPart) + reason + kShellFailureLastPart;
}

void ShowShellFailure(MessageBoxes& boxes, QWidget& owner, const platform::OpenOutcome& outcome) {
  boxes.Show(&owner, BoxIcon::kWarning, DisplayText(kWarningCaption), DisplayText(ShellFailureText(outcome)));
}

}  // namespace rsf::ui
