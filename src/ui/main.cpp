// rsf-extractor: the desktop program. Starts the windows and runs until the main window closes.
//   rsf-extractor [SOURCE]             the window, with SOURCE in the source field
//   rsf-extractor --version            the product name, version and build
//   rsf-extractor --self-check SOURCE  scans SOURCE in the window and reports what it found
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/product.h"
#include "ui/display_text.h"
#include "ui/program.h"
#include "ui/self_check.h"
#include "ui/services/form_services.h"
#include "ui/services/qt_translation.h"
#include "ui/windows/main_form.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", rsf::VersionLine("rsf-extractor").c_str());
    return 0;
  }
  const bool self_check = argc == 3 && std::strcmp(argv[1], "--self-check") == 0;
  QApplication application(argc, argv);
  rsf::ui::InstallQtTranslations(application);
  rsf::ui::FormServices services = rsf::ui::FormServices::Platform();
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  if (self_check) {
    services.boxes = std::make_unique<rsf::ui::ConsoleMessageBoxes>(stdout);
    rsf::ui::Program program(services, {});
    rsf::ui::TfrmMainForm& form = program.MainForm();
    return rsf::desktop::RunSelfCheck(form, form.Presenter(), rsf::ui::LocalPath(arguments.at(1)), stdout);
  }
  rsf::ui::Program program(services, arguments);
  program.MainForm().show();
  return QApplication::exec();
}
