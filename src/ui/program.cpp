// Creation of the program's windows in their order, and the binding of the features that
// plug into the main window.
#include "ui/program.h"

#include "ui/cd_mode_binding.h"
#include "ui/form_services.h"
#include "ui/frmImageView.h"
#include "ui/main_form.h"
#include "ui/playback.h"
#include "ui/splash_form.h"

namespace rsf::ui {

Program::Program(FormServices& services, const QStringList& arguments)
    : main_form_(std::make_unique<TfrmMainForm>(services, arguments)),
      splash_(new TfrmSplash(*services.shell, main_form_.get())),
      image_(new TfrmImage(main_form_.get())),
      playback_(std::make_unique<Playback>(*services.boxes, *services.shell, *services.player,
                                           *services.temporary_folder, *image_)) {
  main_form_->SetAboutWindow(splash_);
  BindCdMode(*main_form_, *services.boxes);
  FormHooks& hooks = main_form_->Hooks();
  hooks.play = [this](TfrmMainForm& form) { playback_->PlayExecute(form); };
  hooks.close_media = [this] { playback_->CloseMedia(); };
  playback_->Bind(*main_form_);
}

Program::~Program() = default;

}  // namespace rsf::ui
