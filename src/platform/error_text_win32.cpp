// FormatMessageA with FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM (0x1100) and
// language 0, so the system picks the user's language. The text comes in the ANSI code page
// and is handed on in UTF-8 like every other text of the program, its closing line break kept.
#include <windows.h>

#include "platform/error_text.h"

namespace rsf::platform {
namespace {

constexpr DWORD kMessageFlags = 0x1100;
static_assert(kMessageFlags == (FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM));

std::string AnsiToUtf8(const char* text, int length) {
  const int wide_length = ::MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
  if (wide_length <= 0) return std::string(text, static_cast<std::size_t>(length));
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), wide_length);
  const int utf8_length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (utf8_length <= 0) return std::string(text, static_cast<std::size_t>(length));
  std::string utf8(static_cast<std::size_t>(utf8_length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), utf8_length, nullptr, nullptr);
  return utf8;
}

}  // namespace

std::optional<std::string> SystemErrorMessage(std::uint32_t code) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(kMessageFlags, nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  if (length == 0 || text == nullptr) return std::nullopt;
  std::string message = AnsiToUtf8(text, static_cast<int>(length));
  ::LocalFree(text);
  return message;
}

}  // namespace rsf::platform

namespace rsf::platform {

std::string ReasonText(std::uint32_t code) {
  std::string text = SystemErrorMessage(code).value_or(std::string());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string LastErrorReason() { return ReasonText(::GetLastError()); }

}  // namespace rsf::platform
