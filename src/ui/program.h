// Program start: the main window (running FormCreate), then the About window, hidden until it
// is asked for. The picture window of playback joins here when that feature comes.
#pragma once

#include <QStringList>
#include <memory>

namespace rsf::ui {

struct FormServices;
class TfrmMainForm;
class TfrmSplash;

class Program {
 public:
  // `arguments`: the command-line arguments after the program name.
  Program(FormServices& services, const QStringList& arguments);
  ~Program();

  TfrmMainForm& MainForm() { return *main_form_; }
  TfrmSplash& Splash() { return *splash_; }

 private:
  std::unique_ptr<TfrmMainForm> main_form_;
  TfrmSplash* splash_;  // owned by the main window
};

}  // namespace rsf::ui
