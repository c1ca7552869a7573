// Qt's own texts (the buttons of file dialogs and message boxes, the edit fields' context
// menus) in Simplified Chinese, like every other text of the program.
#pragma once

class QCoreApplication;

namespace rsf::ui {

// Loads Qt's Simplified Chinese translations from Qt's translation folder into `application`;
// returns how many were found (none where the translations are not installed: Qt's texts then
// stay English).
int InstallQtTranslations(QCoreApplication& application);

}  // namespace rsf::ui
