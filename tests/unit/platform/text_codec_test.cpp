#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace maqo {
namespace {

TEST(TextCodec, Utf8RoundTripsEveryPlane) {
  const std::u16string text = u"a\u00E9\u3042\U0001F600z";
  EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(text)), text);
  EXPECT_EQ(utf16ToUtf8(text).size(), 1u + 2 + 3 + 4 + 1);
}

TEST(TextCodec, MalformedInputBecomesReplacementCharacters) {
  struct Case { std::string bytes; std::u16string text; };
  const Case cases[] = {
      {"\xC0\xAF", u"\uFFFD\uFFFD"},        // overlong slash
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
      {"a\xE3\x81", u"a\uFFFD\uFFFD"},      // cut short at the end
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(utf8ToUtf16(c.bytes), c.text) << c.bytes;
  EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(TextCodec, MultibyteDetection) {
  EXPECT_FALSE(isUtf8WithMultibyte("plain ascii"));
  EXPECT_TRUE(isUtf8WithMultibyte("caf\xC3\xA9"));
  EXPECT_FALSE(isUtf8WithMultibyte("caf\xE9"));  // CP1252 e-acute is not UTF-8
  EXPECT_TRUE(isValidUtf8(""));
}

TEST(TextCodec, AsciiUpperLeavesOtherLettersAlone) {
  EXPECT_EQ(asciiUpper(u"abz\u00E9\uFF41"), u"ABZ\u00E9\uFF41");
}

}  // namespace
}  // namespace maqo
