// The text with which an unhandled error is shown to the user: the error's own text, with a
// full stop appended when its last byte sorts after "." (letters, digits and Chinese
// characters do; "!", ")" and "." do not).
#pragma once

#include <string>

namespace rsf {

// The texts of errors that carry none of their own: memory running out, and anything that is
// no error type of the program's or the C++ library's (also an error code the system has no
// message for).
inline constexpr const char* kOutOfMemoryText = "内存不足";
inline constexpr const char* kUnknownErrorText = "未知错误";

std::string ErrorDisplayText(const std::string& message);

}  // namespace rsf
