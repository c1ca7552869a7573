// Creation of the program's windows in their order.
#include "ui/program.h"

#include "ui/services/form_services.h"
#include "ui/windows/frmImageView.h"
#include "ui/windows/main_form.h"
#include "ui/windows/splash_form.h"

namespace rsf::ui {

Program::Program(FormServices& services, const QStringList& arguments)
    : main_form_(std::make_unique<TfrmMainForm>(services, arguments)),
      splash_(new TfrmSplash(*services.shell, main_form_.get())) {
  main_form_->SetAboutWindow(splash_);
}

Program::~Program() = default;

TfrmImage& Program::frmImage() { return main_form_->PictureWindow(); }

}  // namespace rsf::ui
