// Qt's translation catalogues, qtbase_zh_CN.qm and qtmultimedia_zh_CN.qm (Debian's
// qt6-translations-l10n).
#include "ui/services/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace rsf::ui {

int InstallQtTranslations(QCoreApplication& application) {
  const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  int installed = 0;
  for (const char* catalogue : {"qtbase", "qtmultimedia"}) {
    auto* translator = new QTranslator(&application);
    if (translator->load(chinese, QString::fromLatin1(catalogue), QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator)) {
      ++installed;
    } else {
      delete translator;
    }
  }
  return installed;
}

}  // namespace rsf::ui
