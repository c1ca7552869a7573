// Program start: the main window (running FormCreate), then the About window and the picture
// window, hidden until they are asked for; CD mode and playback are bound into the main
// window's hooks.
#pragma once

#include <QStringList>
#include <memory>

namespace rsf::ui {

struct FormServices;
class Playback;
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
  TfrmImage& frmImage() { return *image_; }
  Playback& Playing() { return *playback_; }

 private:
  std::unique_ptr<TfrmMainForm> main_form_;
  TfrmSplash* splash_;  // owned by the main window
  TfrmImage* image_;    // owned by the main window
  std::unique_ptr<Playback> playback_;
};

}  // namespace rsf::ui
