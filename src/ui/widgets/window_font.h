// The font of the program's windows: "宋体" at 9 points (12 pixels) where it is installed,
// otherwise the closest Simplified Chinese font the system has.
#pragma once

#include <QFont>
#include <QStringList>

namespace rsf::ui {

// Families in order of preference; the first installed one is used.
QStringList PreferredFontFamilies();
QFont WindowFont();
// The font of the information pane: the window font when its Chinese characters are exactly
// two Latin characters wide (as in "宋体"), so that the padded labels of the pane line up;
// otherwise an installed Chinese font that has this property.
QFont FixedPitchWindowFont();
// True when every Chinese character of the font is as wide as two of its blanks and Latin
// letters are as wide as one blank.
bool ChineseIsDoubleWidth(const QFont& font);

}  // namespace rsf::ui
