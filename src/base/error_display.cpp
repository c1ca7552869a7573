// Full-stop rule of the general error display.
#include "base/error_display.h"

namespace rsf {

std::string ErrorDisplayText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
    return message + ".";
  return message;
}

}  // namespace rsf
