// errorcode: the text of a system error code, for the messages that report a failure of the
// system to the user.
#pragma once

#include <cstdint>
#include <string>

namespace rsf::ui {

// The system's message for `code` as the system words it, or kUnknownErrorText
// (base/error_display.h) when it has none.
std::string ErrorText(std::uint32_t code);

}  // namespace rsf::ui
