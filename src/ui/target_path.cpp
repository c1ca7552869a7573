// Path splitting for the target prefix. Works on whole characters, so the bytes of a Chinese
// character can never pass for a delimiter or a dot.
#include "ui/target_path.h"

#include <QDir>

namespace rsf::ui {

SplitPath Split(const QString& path, const QString& delimiters) {
  qsizetype folder_end = -1;
  for (qsizetype i = path.size() - 1; i >= 0; --i) {
    if (delimiters.contains(path[i])) {
      folder_end = i;
      break;
    }
  }
  SplitPath split;
  split.folder = path.left(folder_end + 1);
  split.name = path.mid(folder_end + 1);
  const qsizetype dot = split.name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) split.extension = split.name.mid(dot);
  return split;
}

QString TargetPrefix(const QString& path, const QString& delimiters) {
  // Qt's dialogs hand back "/" on every platform; split what the platform itself would write.
  const SplitPath split = Split(QDir::toNativeSeparators(path), delimiters);
  return split.folder + split.name.left(split.name.size() - split.extension.size());
}

}  // namespace rsf::ui
