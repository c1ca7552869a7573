// rsf-extractor: the desktop program. Starts the windows and runs until the main window closes.
#include <QApplication>

#include "ui/services/form_services.h"
#include "ui/windows/main_form.h"
#include "ui/program.h"
#include "ui/services/qt_translation.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  rsf::ui::InstallQtTranslations(application);
  rsf::ui::FormServices services = rsf::ui::FormServices::Platform();
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  rsf::ui::Program program(services, arguments);
  program.MainForm().show();
  return QApplication::exec();
}
