// Text at the boundary of the wide-character Win32 functions: the desktop core keeps UTF-8, the
// window's controls take and give UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace rsf::win32 {

// UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::wstring Wide(std::string_view utf8);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view wide);

// A text of the core for a control: UTF-16, with every line separator of the core's texts
// (LF CR) written as the controls break lines (CR LF).
std::wstring DisplayText(std::string_view utf8);

}  // namespace rsf::win32
