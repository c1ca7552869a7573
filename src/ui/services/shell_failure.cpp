// The shell-failure warning.
#include "ui/services/shell_failure.h"

#include <string>

#include "ui/display_text.h"
#include "ui/services/errorcode.h"
#include "ui/services/message_boxes.h"
#include "desktop/window_texts.h"

namespace rsf::ui {

namespace {

std::string Reason(const platform::OpenOutcome& outcome) {
  return outcome.reason.empty() ? ErrorText(outcome.error) : outcome.reason;
}

}  // namespace

std::string ShellFailureText(const platform::OpenOutcome& outcome) {
  return std::string(desktop::kShellFailureFirstPart) + Reason(outcome) + desktop::kShellFailureLastPart;
}

std::string HelpFailureText(const platform::OpenOutcome& outcome, const std::string& guide) {
  return std::string(desktop::kHelpFailureFirstPart) + Reason(outcome) + desktop::kHelpFailureLastPart + guide;
}

void ShowShellFailure(MessageBoxes& boxes, QWidget& owner, const platform::OpenOutcome& outcome) {
  boxes.Show(&owner, BoxIcon::kWarning, DisplayText(desktop::kWarningCaption), DisplayText(ShellFailureText(outcome)));
}

}  // namespace rsf::ui
