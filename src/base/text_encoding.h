// Conversion of raw GBK (code page 936) bytes from clip headers into the UTF-8 text the
// program works with.
#pragma once

#include <string>
#include <string_view>

namespace rsf {

// Decodes `gbk` as GBK. Every byte that does not start a valid character becomes U+FFFD;
// nothing is dropped silently. ASCII passes through unchanged.
std::string GbkToUtf8(std::string_view gbk);

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsUtf8(std::string_view text);

// Encodes UTF-8 text as GBK for the platform boundary; characters GBK lacks become '?'.
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace rsf
