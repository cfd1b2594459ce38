// The byte-string builtins, ISUNICODE, ENCODE and DECODE.
#include <gtest/gtest.h>

#include "tests/unit/builtins/builtins_strings_host.h"

namespace maqo::builtins::strings_test {
namespace {

using testing::errorOf;
using testing::u8;

class ByteBuiltinsTest : public ::testing::Test {
 protected:
  ByteBuiltinsTest() {
    host.useLocale(kana);
    engine::ScriptValue::setByteStringLocale(&kana);
  }
  ~ByteBuiltinsTest() override { engine::ScriptValue::setByteStringLocale(nullptr); }
  std::string show(std::u16string_view e) { return u8(host.show(e)); }
  KanaCodePageLocale kana;
  StringsHost host;
};

TEST_F(ByteBuiltinsTest, ByteLengthsAndPositionsInADoubleByteCodePage) {
  const struct {
    const char16_t* expression;
    const char* expected;
  } cases[] = {
      {u"LENGTHB(\"\u3042a\")", "3"},
      {u"LENGTH(\"\u3042a\")", "2"},
      {u"POSB(\"a\", \"\u3042a\")", "3"},
      {u"POSB(\"A\", \"\u3042a\")", "3"},
      {u"POSB(\"a\", \"a\u3042a\", -1)", "4"},
      {u"POSB(\"a\", \"\u3042a\", 2)", "0"},
      {u"ASCB(\"\u3042\")", "130"},
      {u"ASCB(\"\")", "0"},
      {u"LENGTHB(COPYB(\"\u3042ab\", 2))", "3"},
      {u"COPYB(\"\u3042ab\", 3, 1)", "a"},
      {u"COPYB(\"\u3042ab\", 1, 2)", "\u3042"},
      {u"LENGTHB(CHRB(321))", "1"},
      {u"ASCB(CHRB(321))", "65"},
  };
  for (const auto& c : cases) EXPECT_EQ(show(c.expression), c.expected) << u8(c.expression);
  EXPECT_GT(host.byteMarks, 0);
}

TEST_F(ByteBuiltinsTest, PosbDoesNotMatchInsideADoubleByteCharacter) {
  // 82 82 is one character (lead and trail byte), 9F a second one: the bytes
  // 82 9F appear, but across the boundary of the two characters.
  host.set(u"S", ScriptValue::byteString(std::string("\x82\x82\x9F", 3)));
  host.set(u"F", ScriptValue::byteString(std::string("\x82\x9F", 2)));
  host.set(u"G", ScriptValue::byteString(std::string("\x82\x82", 2)));
  EXPECT_EQ(show(u"POSB(F, S)"), "0");
  EXPECT_EQ(show(u"POSB(G, S)"), "1");
}

TEST_F(ByteBuiltinsTest, IsUnicodeTellsWhetherTheCodePageHoldsTheText) {
  EXPECT_EQ(show(u"ISUNICODE(\"a\u3042\")"), "False");
  EXPECT_EQ(show(u"ISUNICODE(\"\u4E00\")"), "True");
  EXPECT_EQ(host.run(u"ISUNICODE(\"\u4E00\")").booleanPayload(), -1);
}

TEST_F(ByteBuiltinsTest, EncodeAndDecodeRoundTrip) {
  // DECODE takes a byte array as its first argument: the round trip goes
  // through the real dispatcher, which passes that array value through.
  const struct {
    const char16_t* text;
    int code;
  } cases[] = {
      {u"a b&c=\u3042%+", 2},      {u"", 2},
      {u"\u00E9\U0001F600x", 3},   {u"<a href=\"x\">&amp;</a>", 4},
      {u"ab\u3042", 5},            {u"\u00E9\U0001F600", 6},
  };
  for (const auto& c : cases) {
    host.set(u"T", str(c.text));
    host.set(u"C", num(c.code));
    const auto failure = errorOf([&] {
      host.set(u"X", host.run(u"ENCODE(T, C)"));
      EXPECT_EQ(u8(host.show(u"DECODE(X, C)")), u8(c.text)) << u8(c.text) << " code " << c.code;
    });
    EXPECT_FALSE(failure.thrown) << u8(failure.english) << " code " << c.code;
  }
}

TEST_F(ByteBuiltinsTest, EncodedForms) {
  const struct {
    const char16_t* expression;
    const char* expected;
  } cases[] = {
      {u"ENCODE(\"a b/\u3042@\", CODE_URL)", "a+b%2F%82%A0@"},
      {u"ENCODE(\"<<#DBL>&>\", CODE_HTML)", "&lt;&quot;&amp;&gt;"},
      {u"DECODE(\"&#65;&#12354;&#128512;&lt;\", CODE_HTML)", "A\u3042\U0001F600<"},
      {u"DECODE(\"&#99999999;&#1114112;&#;\", CODE_HTML)", "&#99999999;&#1114112;&#;"},
      {u"DECODE(\"100%%+x\", CODE_URL)", "100% x"},
      {u"LENGTHB(ENCODE(\"\u00E9\", CODE_UTF8))", "2"},
      {u"ENCODE(\"abc\", 99)", "abc"},
      {u"DECODE(\"abc\", CODE_ANSI)", "abc"},
      {u"VARTYPE(ENCODE(\"\", CODE_BYTEARRAY))", "1"},
      {u"DECODE(NULL, CODE_BYTEARRAY)", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(show(c.expression), c.expected) << u8(c.expression);
  const auto e = errorOf([&] { host.run(u"DECODE(\"a%G1\", CODE_URL)"); });
  EXPECT_TRUE(e.thrown);
  EXPECT_NE(e.english.find(u"%G1"), std::u16string::npos);
}

TEST_F(ByteBuiltinsTest, ByteArraysHoldTheBytes) {
  host.set(u"B", host.run(u"ENCODE(\"a\u3042\", CODE_BYTEARRAY)"));
  EXPECT_EQ(show(u"LENGTH(B)"), "3");
  EXPECT_EQ(show(u"B[1]"), "130");
  EXPECT_EQ(show(u"VARTYPE(B[1])"), "17");
  host.set(u"W", host.run(u"ENCODE(\"A\", CODE_BYTEARRAYW)"));
  EXPECT_EQ(show(u"JOIN(W, \",\")"), "65,0");
  // A byte array built by the script decodes as well.
  host.set(u"S", host.run(u"SPLIT(\"72 105\", \" \", FALSE, TRUE)"));
  EXPECT_EQ(show(u"DECODE(S, CODE_BYTEARRAY)"), "Hi");
}

}  // namespace
}  // namespace maqo::builtins::strings_test
