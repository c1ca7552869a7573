// Program start: the main window (running FormCreate, with its picture window hidden), then the
// About window, hidden until it is asked for.
#pragma once

#include <memory>

#include <QStringList>

namespace rsf::ui {

struct FormServices;
class TfrmImage;
class TfrmMainForm;
class TfrmSplash;

class Program {
 public:
  // `arguments`: the command-line arguments after the program name.
  Program(FormServices& services, const QStringList& arguments);
  ~Program();

  TfrmMainForm& MainForm() { return *main_form_; }
  TfrmSplash& Splash() { return *splash_; }
  TfrmImage& frmImage();

 private:
  std::unique_ptr<TfrmMainForm> main_form_;
  TfrmSplash* splash_;  // owned by the main window
};

}  // namespace rsf::ui
