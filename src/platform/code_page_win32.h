// Text at the boundary of the ANSI Win32 functions: the program keeps UTF-8, the "A" functions
// take and give the system's ANSI code page (CP_ACP).
#pragma once

#include <string>

namespace rsf::platform {

// UTF-8 to the ANSI code page. Characters the code page lacks become its default character;
// invalid UTF-8 gives an empty string.
std::string ToAnsiCodePage(const std::string& utf8);

// The ANSI code page to UTF-8; text that does not convert is returned unchanged.
std::string FromAnsiCodePage(const std::string& ansi);

}  // namespace rsf::platform
