// GBK <-> UTF-8, one character at a time so that a byte that does not decode can be replaced
// by U+FFFD and decoding goes on behind it. The conversion of one character comes from the C
// library's iconv, on Windows from the system's code page 936.
#include "base/text_encoding.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>

namespace rsf {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

#ifdef _WIN32

constexpr UINT kGbkCodePage = 936;

// Converts `in` from code page `from` to `to` through UTF-16 and appends the result; false when
// any part of `in` is not a complete, valid character of `from` or has no exact form in `to`.
bool Recode(UINT from, UINT to, std::string_view in, std::string& out) {
  wchar_t wide[8];
  const int wide_length =
      MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), wide, 8);
  if (wide_length <= 0) return false;
  // Windows maps GBK's user-defined areas onto the private use area; the C library does not
  // decode them, and neither does this path, so both give the same text.
  for (int i = 0; i < wide_length; ++i)
    if (wide[i] >= 0xE000 && wide[i] <= 0xF8FF) return false;
  char buffer[16];
  BOOL used_default = FALSE;
  const bool exact = to != CP_UTF8;  // the default-character report is refused for UTF-8
  const int length = WideCharToMultiByte(to, exact ? WC_NO_BEST_FIT_CHARS : 0, wide, wide_length, buffer,
                                         sizeof buffer, nullptr, exact ? &used_default : nullptr);
  if (length <= 0 || used_default) return false;
  out.append(buffer, static_cast<std::size_t>(length));
  return true;
}

// The two directions, with the same interface as the iconv converters below.
struct Converter {
  UINT from, to;
  bool ok() const { return true; }
  bool Convert(std::string_view in, std::string& out) const { return Recode(from, to, in, out); }
};

Converter& Decoder() {
  static Converter gbk{kGbkCodePage, CP_UTF8};
  return gbk;
}

Converter& Encoder() {
  static Converter gbk{CP_UTF8, kGbkCodePage};
  return gbk;
}

#else

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; false when iconv refuses any part of it.
  bool Convert(std::string_view in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* in_ptr = const_cast<char*>(in.data());
    std::size_t in_left = in.size();
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1) || in_left != 0)
      return false;
    out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& Decoder() {
  thread_local Converter cp936("UTF-8", "CP936");
  thread_local Converter gbk("UTF-8", "GBK");
  return cp936.ok() ? cp936 : gbk;
}

Converter& Encoder() {
  thread_local Converter cp936("CP936", "UTF-8");
  thread_local Converter gbk("GBK", "UTF-8");
  return cp936.ok() ? cp936 : gbk;
}

#endif  // _WIN32

std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size());
  Converter& decoder = Decoder();
  std::size_t i = 0;
  while (i < gbk.size()) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    if (byte < 0x80) {
      out.push_back(static_cast<char>(byte));
      ++i;
      continue;
    }
    if (decoder.ok()) {
      if (decoder.Convert(gbk.substr(i, 1), out)) {  // single-byte extras such as 0x80 in CP936
        ++i;
        continue;
      }
      if (i + 1 < gbk.size() && decoder.Convert(gbk.substr(i, 2), out)) {
        i += 2;
        continue;
      }
    }
    out.append(kReplacement);
    ++i;
  }
  return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  Converter& encoder = Encoder();
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      out.push_back(static_cast<char>(byte));
      ++i;
      continue;
    }
    const std::size_t length = std::min(Utf8Length(byte), utf8.size() - i);
    if (!encoder.ok() || !encoder.Convert(utf8.substr(i, length), out)) out.push_back('?');
    i += length;
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) { ++i; continue; }
    if (lead >= 0xC2 && lead <= 0xDF) { length = 2; code = lead & 0x1Fu; }
    else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; code = lead & 0x0Fu; }
    else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; code = lead & 0x07u; }
    else return false;
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

}  // namespace rsf
