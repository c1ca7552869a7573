// The warnings shown when the desktop could not open a clip or the user guide: the system's or
// the opener's reason between the fixed parts of the text.
#pragma once

#include <string>

#include "platform/shell_open.h"

namespace rsf::desktop {

// "当尝试运行外部播放器..." + the reason + "请提取文件...". `outcome` is a failure.
std::string ShellFailureText(const platform::OpenOutcome& outcome);
// The user guide at `guide` could not be opened: "当尝试打开用户指南时..." + the reason + where it lies.
std::string HelpFailureText(const platform::OpenOutcome& outcome, const std::string& guide);

}  // namespace rsf::desktop
