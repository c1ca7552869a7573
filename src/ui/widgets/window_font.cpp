// Choosing the window font among the installed families.
#include "ui/widgets/window_font.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace rsf::ui {
namespace {

// 9 points on the 96-dpi screens the layout was drawn for.
constexpr int kFontPixelSize = 12;

}  // namespace

QStringList PreferredFontFamilies() {
  // SimSun first under both its names; then the Song-style AR PL UMing, closest in look; then
  // the sans-serif Chinese fonts Debian installs most often.
  return {QStringLiteral("宋体"),           QStringLiteral("SimSun"),           QStringLiteral("NSimSun"),
          QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"), QStringLiteral("Noto Serif CJK SC"),
          QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback")};
}

QFont WindowFont() {
  const QStringList installed = QFontDatabase::families();
  QFont font;
  for (const QString& family : PreferredFontFamilies()) {
    if (installed.contains(family, Qt::CaseInsensitive)) {
      font.setFamily(family);
      break;
    }
  }
  font.setPixelSize(kFontPixelSize);
  return font;
}

bool ChineseIsDoubleWidth(const QFont& font) {
  const QFontMetrics metrics(font);
  const int blank = metrics.horizontalAdvance(QLatin1Char(' '));
  return blank > 0 && metrics.horizontalAdvance(QStringLiteral("大小")) == 4 * blank &&
         metrics.horizontalAdvance(QStringLiteral("Size")) == 4 * blank;
}

QFont FixedPitchWindowFont() {
  QFont font = WindowFont();
  if (ChineseIsDoubleWidth(font)) return font;
  const QStringList installed = QFontDatabase::families();
  for (const char* family : {"WenQuanYi Zen Hei Mono", "Noto Sans Mono CJK SC", "AR PL UMing CN", "Droid Sans Mono"}) {
    QFont candidate = font;
    candidate.setFamily(QString::fromLatin1(family));
    if (installed.contains(candidate.family(), Qt::CaseInsensitive) && ChineseIsDoubleWidth(candidate))
      return candidate;
  }
  return font;
}

}  // namespace rsf::ui
