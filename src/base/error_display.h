// The text with which an unhandled error is shown to the user: the error's own text, with a
// full stop appended when its last byte sorts after "." (letters, digits and Chinese
// characters do; "!", ")" and "." do not).
#pragma once

#include <string>

namespace rsf {

std::string ErrorDisplayText(const std::string& message);

}  // namespace rsf
