// The C library's messages, in Chinese like every text of the program where the system has the
// translation (libc-l10n's catalogue and a zh_CN.UTF-8 locale, read through a locale object so
// that the process's own locale stays as it is), else as strerror_r words them. glibc answers
// every code, also unknown ones ("Unknown error 1234"); strerrordesc_np tells which codes it
// really knows.
#include <locale.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "platform/error_text.h"

namespace rsf::platform {
namespace {

// The two strerror_r variants: GNU returns the text, XSI fills the buffer and returns 0.
[[maybe_unused]] const char* MessageOf(char* result, const char*) { return result; }
[[maybe_unused]] const char* MessageOf(int result, const char* buffer) { return result == 0 ? buffer : nullptr; }

bool KnownCode(int code) {
#if defined(__GLIBC__)
  return ::strerrordesc_np(code) != nullptr;
#else
  return code >= 0;
#endif
}

// The Chinese messages' locale, or 0 when the system has none.
locale_t ChineseMessages() {
  static const locale_t chinese = ::newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, "zh_CN.UTF-8", locale_t{});
  return chinese;
}

}  // namespace

std::optional<std::string> SystemErrorMessage(std::uint32_t code) {
  if (code > static_cast<std::uint32_t>(std::numeric_limits<int>::max())) return std::nullopt;
  const int number = static_cast<int>(code);
  if (!KnownCode(number)) return std::nullopt;
  if (const locale_t chinese = ChineseMessages()) {
    const char* text = ::strerror_l(number, chinese);
    if (text != nullptr && *text != '\0') return std::string(text);
  }
  char buffer[512] = {};
  const char* text = MessageOf(::strerror_r(number, buffer, sizeof buffer), buffer);
  if (text == nullptr || *text == '\0') return std::nullopt;
  return std::string(text);
}

}  // namespace rsf::platform

namespace rsf::platform {

std::string ReasonText(std::uint32_t code) { return SystemErrorMessage(code).value_or(std::string()); }

std::string LastErrorReason() { return ReasonText(static_cast<std::uint32_t>(errno)); }

}  // namespace rsf::platform
