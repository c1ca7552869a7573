// Conversions between the program's stored texts and file names and Qt's strings.
#include "ui/display_text.h"

#include <QFile>

namespace rsf::ui {

QString DisplayText(std::string_view text) {
  QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QString::fromLatin1(kLineSeparator.data(), static_cast<qsizetype>(kLineSeparator.size())),
                QStringLiteral("\n"));
  return shown;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString PathFromLocal(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace rsf::ui
