// Splitting a chosen target path into folder, file name and extension, and the target prefix
// made from it (the path without its extension).
#pragma once

#include <QString>

namespace rsf::ui {

// Characters that end the folder part of a path on this platform.
#ifdef _WIN32
inline constexpr const char* kPathDelimiters = "\\:";
#else
inline constexpr const char* kPathDelimiters = "/";
#endif

struct SplitPath {
  QString folder;     // up to and including the last delimiter
  QString name;       // what follows it
  QString extension;  // from the name's last "." on, with the dot; empty when the name has none
};

SplitPath Split(const QString& path, const QString& delimiters = QString::fromLatin1(kPathDelimiters));

// Folder and file name with the extension removed: /rips/intro.avi gives /rips/intro.
QString TargetPrefix(const QString& path, const QString& delimiters = QString::fromLatin1(kPathDelimiters));

}  // namespace rsf::ui
