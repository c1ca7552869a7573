// Creation of the program's windows in their order, and the binding of the features that
// plug into the main window.
#include "ui/program.h"

#include "ui/features/cd_mode_binding.h"
#include "ui/services/form_services.h"
#include "ui/windows/frmImageView.h"
#include "ui/windows/main_form.h"
#include "ui/features/playback.h"
#include "ui/windows/splash_form.h"

namespace rsf::ui {

Program::Program(FormServices& services, const QStringList& arguments)
    : main_form_(std::make_unique<TfrmMainForm>(services, arguments)),
      splash_(new TfrmSplash(*services.shell, main_form_.get())),
      image_(new TfrmImage(main_form_.get())),
      playback_(std::make_unique<Playback>(*services.boxes, *services.shell, *services.player,
                                           *services.temporary_folder, *image_)) {
  main_form_->SetAboutWindow(splash_);
  FormHooks& hooks = main_form_->Hooks();
  BindCdMode(hooks, *main_form_, *services.boxes);
  hooks.play = [this](PlaybackWindow& window) { playback_->PlayExecute(window); };
  hooks.close_media = [this] { playback_->CloseMedia(); };
  playback_->Bind(*main_form_);
}

Program::~Program() = default;

}  // namespace rsf::ui
