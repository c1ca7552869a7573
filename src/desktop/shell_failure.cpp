// The shell-failure warnings.
#include "desktop/shell_failure.h"

#include "base/error_display.h"
#include "desktop/window_texts.h"
#include "platform/error_text.h"

namespace rsf::desktop {
namespace {

// The opener's own words, else the system's message for the code, else "未知错误".
std::string Reason(const platform::OpenOutcome& outcome) {
  if (!outcome.reason.empty()) return outcome.reason;
  return platform::SystemErrorMessage(outcome.error).value_or(kUnknownErrorText);
}

}  // namespace

std::string ShellFailureText(const platform::OpenOutcome& outcome) {
  return std::string(kShellFailureFirstPart) + Reason(outcome) + kShellFailureLastPart;
}

std::string HelpFailureText(const platform::OpenOutcome& outcome, const std::string& guide) {
  return std::string(kHelpFailureFirstPart) + Reason(outcome) + kHelpFailureLastPart + guide;
}

}  // namespace rsf::desktop
