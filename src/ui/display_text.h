// Texts of the program are kept exactly as the program has always written them (UTF-8, lines
// of hints and message boxes separated by LF CR). These helpers turn them into what Qt shows.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "base/line_separator.h"

namespace rsf::ui {

// The text for display: UTF-8 decoded, every kLineSeparator shown as one line break.
QString DisplayText(std::string_view text);

// A local file name (bytes as the file system takes them) and back.
std::string LocalPath(const QString& path);
QString PathFromLocal(const std::string& path);

}  // namespace rsf::ui
