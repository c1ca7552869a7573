// GBK <-> UTF-8: the characters clip headers hold, every byte that does not decode as U+FFFD,
// and the whole code table alike on every platform (iconv on Linux, code page 936 on Windows).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/text_encoding.h"

namespace rsf {
namespace {

constexpr const char* kFffd = "\xEF\xBF\xBD";

TEST(TextEncodingTest, DecodesGbkCharactersAndPassesAsciiThrough) {
  EXPECT_EQ(GbkToUtf8(""), "");
  EXPECT_EQ(GbkToUtf8("Clip 1.avi"), "Clip 1.avi");
  EXPECT_EQ(GbkToUtf8("\xD6\xD0\xCE\xC4"), "中文");
  EXPECT_EQ(GbkToUtf8("\xB8\xE8 1: \xD6\xD0\xCE\xC4\xB8\xE8\xC7\xFA"), "歌 1: 中文歌曲");
  EXPECT_EQ(GbkToUtf8("\xA1\xA1"), "\xE3\x80\x80") << "ideographic space";
  EXPECT_EQ(GbkToUtf8("\x81\x40"), "丂") << "GBK extension beyond GB 2312";
  EXPECT_EQ(GbkToUtf8("\xFE\x4F"), "\xEF\xA8\xA9") << "compatibility ideograph U+FA29";
  EXPECT_EQ(GbkToUtf8("\x80"), "€") << "code page 936's single-byte euro sign";
}

TEST(TextEncodingTest, EveryUndecodableByteBecomesOneReplacementCharacter) {
  EXPECT_EQ(GbkToUtf8("\x81"), kFffd) << "a lead byte at the end";
  EXPECT_EQ(GbkToUtf8("\xFF"), kFffd);
  EXPECT_EQ(GbkToUtf8("\x81 x"), std::string(kFffd) + " x") << "an invalid trail byte is kept";
  EXPECT_EQ(GbkToUtf8("\xFE\x50"), std::string(kFffd) + "P");
  EXPECT_EQ(GbkToUtf8("\xA2\xAB"), std::string(kFffd) + kFffd) << "unassigned: both bytes replaced";
  EXPECT_EQ(GbkToUtf8("\xAA\xA1"), std::string(kFffd) + kFffd) << "user-defined area: not decoded";
  EXPECT_EQ(GbkToUtf8("\xD6\xD0\xFF\xCE\xC4"), std::string("中") + kFffd + "文");
}

TEST(TextEncodingTest, EncodesToGbkWithQuestionMarksForTheRest) {
  EXPECT_EQ(Utf8ToGbk("demo.bin"), "demo.bin");
  EXPECT_EQ(Utf8ToGbk("中文歌曲"), "\xD6\xD0\xCE\xC4\xB8\xE8\xC7\xFA");
  EXPECT_EQ(Utf8ToGbk("€"), "\x80");
  EXPECT_EQ(Utf8ToGbk("·"), "\xA1\xA4");
  EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80"), "?") << "outside the code page";
  EXPECT_EQ(Utf8ToGbk("\xEE\x80\x80"), "?") << "private use: no user-defined area";
  EXPECT_EQ(Utf8ToGbk("a\xE4\xB8"), "a?") << "a truncated sequence";
  EXPECT_EQ(Utf8ToGbk("\xFF" "b"), "?b");
}

// FNV-1a over the results, one line each, of decoding every single byte and byte pair that
// starts outside ASCII, and of encoding every Unicode character of the basic plane. The value
// is that of the C library's converter; a platform whose table differs anywhere fails here.
std::uint64_t Fnv(std::uint64_t hash, const std::string& text) {
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
  return (hash ^ '\n') * 0x100000001B3ull;
}

std::string Utf8Of(unsigned code_point) {
  std::string text;
  if (code_point < 0x800) {
    text += static_cast<char>(0xC0 | (code_point >> 6));
  } else {
    text += static_cast<char>(0xE0 | (code_point >> 12));
    text += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
  }
  text += static_cast<char>(0x80 | (code_point & 0x3F));
  return text;
}

bool OneCharacter(const std::string& utf8) {
  const auto lead = static_cast<unsigned char>(utf8[0]);
  const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return utf8.size() == length;
}

TEST(TextEncodingTest, TellsWellFormedUtf8) {
  for (const char* text : {"", "track01.bin", "光盘 一.bin", "\xF0\x9F\x8E\xB5", "\xEF\xBF\xBD"}) EXPECT_TRUE(IsUtf8(text)) << text;
  // GBK bytes, a cut sequence, an overlong slash, a surrogate, a code above U+10FFFF, a lone continuation.
  for (const char* text : {"\xB9\xE2\xC5\xCC.bin", "\xE5\x85", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\x80"})
    EXPECT_FALSE(IsUtf8(text)) << text;
}

TEST(TextEncodingTest, TheWholeTableIsTheSameOnEveryPlatform) {
  std::uint64_t decoded = 0xCBF29CE484222325ull;
  int pairs_decoded_as_one_character = 0;
  for (int lead = 0x80; lead < 0x100; ++lead) decoded = Fnv(decoded, GbkToUtf8(std::string(1, static_cast<char>(lead))));
  for (int lead = 0x80; lead < 0x100; ++lead) {
    for (int trail = 0; trail < 0x100; ++trail) {
      const std::string text = GbkToUtf8(std::string{static_cast<char>(lead), static_cast<char>(trail)});
      decoded = Fnv(decoded, text);
      if (text != kFffd && OneCharacter(text)) ++pairs_decoded_as_one_character;
    }
  }
  std::uint64_t encoded = 0xCBF29CE484222325ull;
  for (unsigned code_point = 0x80; code_point < 0x10000; ++code_point)
    if (code_point < 0xD800 || code_point >= 0xE000) encoded = Fnv(encoded, Utf8ToGbk(Utf8Of(code_point)));
  EXPECT_EQ(pairs_decoded_as_one_character, 21791);
  EXPECT_EQ(decoded, 2238667062450654565ull);
  EXPECT_EQ(encoded, 15141337136033645435ull);
}

}  // namespace
}  // namespace rsf
