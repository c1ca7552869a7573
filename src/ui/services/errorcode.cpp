// Error texts from the platform layer, with the program's own text where the system is silent.
#include "ui/services/errorcode.h"

#include "base/error_display.h"
#include "platform/error_text.h"

namespace rsf::ui {

std::string ErrorText(std::uint32_t code) {
  return platform::SystemErrorMessage(code).value_or(kUnknownErrorText);
}

}  // namespace rsf::ui
