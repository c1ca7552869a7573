// UTF-8 and UTF-16 through the system's own converters.
#include "win32/wide_text.h"

#include <windows.h>

#include "base/line_separator.h"

namespace rsf::win32 {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::wstring DisplayText(std::string_view utf8) {
  std::string text(utf8);
  for (std::size_t at = text.find(kLineSeparator); at != std::string::npos; at = text.find(kLineSeparator, at + 2))
    text.replace(at, kLineSeparator.size(), "\r\n");
  return Wide(text);
}

}  // namespace rsf::win32
