// Catching and showing the errors of command handlers.
#include "ui/services/general_error_display.h"

#include <exception>
#include <new>

#include "base/error_display.h"
#include "ui/display_text.h"
#include "ui/services/message_boxes.h"

namespace rsf::ui {

void GeneralErrorDisplay::Run(const std::function<void()>& handler) const {
  try {
    handler();
  } catch (const std::bad_alloc&) {
    Show(kOutOfMemoryText);
  } catch (const std::exception& error) {
    Show(error.what());
  } catch (...) {
    Show(kUnknownErrorText);
  }
}

void GeneralErrorDisplay::Show(const std::string& message) const {
  boxes_.Show(owner_, BoxIcon::kStop, application_title_, DisplayText(ErrorDisplayText(message)));
}

}  // namespace rsf::ui
