// How the program's own texts separate their lines: line feed, then carriage return, as every
// hint and message box has always had them.
#pragma once

#include <string_view>

// The separator as a literal, for texts joined from literals: "first" RSF_LINE_SEPARATOR "second".
#define RSF_LINE_SEPARATOR "\n\r"

namespace rsf {

inline constexpr std::string_view kLineSeparator = RSF_LINE_SEPARATOR;

}  // namespace rsf
