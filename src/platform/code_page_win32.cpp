// UTF-8 and the ANSI code page, converted through UTF-16 as Win32 requires.
#include <windows.h>

#include "platform/code_page_win32.h"

namespace rsf::platform {
namespace {

std::wstring Wide(const std::string& text, UINT code_page, DWORD flags) {
  const int length = ::MultiByteToWideChar(code_page, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(code_page, flags, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT code_page) {
  const int length =
      ::WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                        nullptr);
  return text;
}

}  // namespace

std::string ToAnsiCodePage(const std::string& utf8) {
  if (utf8.empty()) return {};
  const std::wstring wide = Wide(utf8, CP_UTF8, MB_ERR_INVALID_CHARS);
  return wide.empty() ? std::string() : Narrow(wide, CP_ACP);
}

std::string FromAnsiCodePage(const std::string& ansi) {
  if (ansi.empty()) return {};
  const std::wstring wide = Wide(ansi, CP_ACP, 0);
  if (wide.empty()) return ansi;
  std::string utf8 = Narrow(wide, CP_UTF8);
  return utf8.empty() ? ansi : utf8;
}

}  // namespace rsf::platform
