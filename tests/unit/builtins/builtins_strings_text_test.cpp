// The text builtins: COPY, LENGTH, LENGTHS, POS, BETWEENSTR, TOKEN, REPLACE,
// TRIM, CHKNUM, VAL, FORMAT, CHR, ASC and STRCONV.
#include <gtest/gtest.h>

#include "tests/unit/builtins/builtins_strings_host.h"

namespace maqo::builtins::strings_test {
namespace {

using testing::errorOf;
using testing::u8;

struct Case {
  const char16_t* expression;
  const char16_t* expected;
};

class StringBuiltinsTest : public ::testing::Test {
 protected:
  void expectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(u8(host.show(c.expression)), u8(c.expected)) << u8(c.expression);
  }
  StringsHost host;
};

TEST_F(StringBuiltinsTest, CopyCountsCharactersNotCodeUnits) {
  expectAll({
      {u"COPY(\"abcdef\", 0, 3)", u"abc"},
      {u"COPY(\"abc\", 2)", u"bc"},
      {u"COPY(\"abc\", 5, 2)", u""},
      {u"COPY(\"abc\", 2, 99)", u"bc"},
      {u"COPY(\"abc\", 2, 0)", u""},
      {u"COPY(\"a\" + CHR($1F600) + \"b\", 2, 1)", u"\U0001F600"},
      {u"COPY(\"a\" + CHR($1F600) + \"b\", 3)", u"b"},
  });
}

TEST_F(StringBuiltinsTest, LengthsOfTextAndEmoji) {
  expectAll({
      {u"LENGTH(\"abc\")", u"3"},
      {u"LENGTH(CHR($1F600))", u"1"},
      {u"LENGTHS(CHR($1F600))", u"2"},
      {u"LENGTH(\"\")", u"0"},
      {u"LENGTH(12.5)", u"4"},
  });
}

TEST_F(StringBuiltinsTest, LengthOfArraysHashTablesAndUnreadableArguments) {
  host.dim(u"A", {5});
  host.dim(u"B", {2, 3});
  host.store.DeclareHashTable(host.callFrame, u"H", 0);
  host.run(u"SETCLEAR(A, 1)");
  host.store.PutValue(host.callFrame, u"H", std::vector<ScriptValue>{str(u"x")}, num(1));
  host.store.PutValue(host.callFrame, u"H", std::vector<ScriptValue>{str(u"y")}, num(2));
  host.set(u"S", host.run(u"SPLIT(\"a,b,c\", \",\")"));
  expectAll({
      {u"LENGTH(A)", u"6"},
      {u"LENGTH(B[1])", u"4"},
      {u"LENGTH(B)", u"3"},
      {u"LENGTH(H)", u"2"},
      {u"LENGTH(S)", u"3"},
      {u"LENGTH(SPLIT(\"\"))", u"0"},
      {u"LENGTH(ALL_WIN_ID)", u"0"},
      {u"LENGTH(NOSUCHNAME)", u"-1"},
  });
}

TEST_F(StringBuiltinsTest, PosFindsTheNthOccurrenceFromEitherEnd) {
  expectAll({
      {u"POS(\"b\", \"abcabc\")", u"2"},
      {u"POS(\"b\", \"abcabc\", 2)", u"5"},
      {u"POS(\"b\", \"abcabc\", -1)", u"5"},
      {u"POS(\"b\", \"abcabc\", -2)", u"2"},
      {u"POS(\"b\", \"abcabc\", 3)", u"0"},
      {u"POS(\"b\", \"abcabc\", 0)", u"2"},
      {u"POS(\"AA\", \"AAAA\", 2)", u"2"},
      {u"POS(\"B\", \"abc\")", u"2"},
      {u"POS(\"x\", \"abc\")", u"0"},
      {u"POS(\"\", \"abc\")", u"0"},
      {u"POS(\"c\", CHR($1F600) + \"c\")", u"2"},
      // Counts far beyond the text, down to the smallest 64-bit integer.
      {u"POS(\"b\", \"abcabc\", -1E+300)", u"0"},
      {u"POS(\"b\", \"abcabc\", -9223372036854775808)", u"0"},
      {u"POS(\"b\", \"abcabc\", 1E+300)", u"0"},
  });
  host.sameStrOn = true;
  expectAll({{u"POS(\"B\", \"abc\")", u"0"}});
}

TEST_F(StringBuiltinsTest, BetweenStrTakesTheTextBetweenDelimiters) {
  expectAll({
      {u"BETWEENSTR(\"a[1]b[2]\", \"[\", \"]\")", u"1"},
      {u"BETWEENSTR(\"a[1]b[2]\", \"[\", \"]\", 2)", u"2"},
      {u"BETWEENSTR(\"a[1]b[2]\", \"[\", \"]\", -1)", u"2"},
      {u"BETWEENSTR(\"a[1]b[2]\", \"[\", \"]\", -2)", u"1"},
      {u"BETWEENSTR(\"a[1]b[2]\", \"[\", \"]\", 3)", u""},
      {u"BETWEENSTR(\"abc\", \"x\", \"c\")", u""},
      {u"BETWEENSTR(\"abc\", \"\", \"c\")", u"ab"},
      {u"BETWEENSTR(\"abc\", \"a\")", u"bc"},
      {u"BETWEENSTR(\"aXbXcX\", \"X\", \"X\", 2)", u""},
      {u"BETWEENSTR(\"aXbXcX\", \"X\", \"X\", 2, 1)", u"c"},
      {u"BETWEENSTR(\"a,b,c\", \"\", \",\", 2)", u"b"},
      {u"BETWEENSTR(\"<P>Text</p>\", \"<p>\", \"</P>\")", u"Text"},
  });
  EXPECT_TRUE(host.run(u"BETWEENSTR(\"abc\", \"x\", \"c\")").isEmpty());
}

TEST_F(StringBuiltinsTest, BetweenStrWithEmptyDelimitersAndHugeCountsEndsAtOnce) {
  expectAll({
      {u"BETWEENSTR(\"abc\", \"\", \"\")", u"abc"},
      {u"BETWEENSTR(\"abc\", \"\", \"\", 1000000000000)", u""},
      {u"BETWEENSTR(\"abc\", \"\", \"b\", 1000000000000, 1)", u"a"},
      {u"BETWEENSTR(\"abc\", \"b\", \"\", -1000000000000)", u""},
      // Down to the smallest 64-bit integer.
      {u"BETWEENSTR(\"a[1]b[2]\", \"[\", \"]\", -9223372036854775808)", u""},
      {u"BETWEENSTR(\"a[1]b[2]\", \"[\", \"]\", -1E+300)", u""},
      {u"BETWEENSTR(\"a[1]b[2]\", \"[\", \"]\", 9223372036854775807)", u""},
  });
}

TEST_F(StringBuiltinsTest, TokenTakesTheFirstTokenAndLeavesTheRest) {
  host.set(u"V", str(u"a,,b"));
  EXPECT_EQ(u8(host.show(u"TOKEN(\",\", V)")), "a");
  EXPECT_EQ(u8(host.show(u"V")), ",b");
  EXPECT_EQ(u8(host.show(u"TOKEN(\",\", V)")), "");
  EXPECT_EQ(u8(host.show(u"TOKEN(\",\", V)")), "b");
  EXPECT_TRUE(host.run(u"V").isEmpty());

  host.set(u"V", str(u"a,,b"));
  EXPECT_EQ(u8(host.show(u"TOKEN(\",\", V, TRUE)")), "a");
  EXPECT_EQ(u8(host.show(u"V")), "b");

  host.set(u"V", str(u",,x y"));
  EXPECT_EQ(u8(host.show(u"TOKEN(\", \", V, TRUE)")), "x");
  EXPECT_EQ(u8(host.show(u"V")), "y");

  host.set(u"V", str(u"\"a,b\",c"));
  EXPECT_EQ(u8(host.show(u"TOKEN(\",\", V, FALSE, TRUE)")), "\"a,b\"");
  EXPECT_EQ(u8(host.show(u"V")), "c");

  host.set(u"V", str(u"a,"));
  EXPECT_EQ(u8(host.show(u"TOKEN(\",\", V)")), "a");
  EXPECT_TRUE(host.run(u"V").isString());
}

TEST_F(StringBuiltinsTest, ReplaceIgnoresCaseUnlessSameStr) {
  expectAll({
      {u"CHGMOJ(\"aAa\", \"a\", \"b\")", u"bbb"},
      {u"REPLACE(\"abcabc\", \"BC\", \"-\")", u"a-a-"},
      {u"REPLACE(\"aaa\", \"a\", \"aa\")", u"aaaaaa"},
      {u"REPLACE(\"abc\", \"\", \"x\")", u"abc"},
  });
  host.sameStrOn = true;
  expectAll({{u"CHGMOJ(\"aAa\", \"a\", \"b\")", u"bAb"}});
}

TEST_F(StringBuiltinsTest, YenSignCountsAsBackslashOnJapaneseSystems) {
  KanaCodePageLocale japanese;
  host.useLocale(japanese);
  expectAll({
      {u"POS(\"\\\", \"a\u00A5b\")", u"2"},
      {u"REPLACE(\"a\u00A5b\", \"\\\", \"/\")", u"a/b"},
  });
}

TEST_F(StringBuiltinsTest, TrimRemovesControlsAndWideBlanksOnRequest) {
  expectAll({
      {u"TRIM(\"  a b <#TAB>\")", u"a b"},
      {u"TRIM(\"\u3000a\u3000\")", u"\u3000a\u3000"},
      {u"TRIM(\"\u3000 a\u00A0\uFEFF\", TRUE)", u"a"},
  });
}

TEST_F(StringBuiltinsTest, ChkNumUsesTheStrictUntrimmedTest) {
  expectAll({
      {u"CHKNUM(\"12.5\")", u"True"},
      {u"CHKNUM(\"12.5 \")", u"False"},
      {u"CHKNUM(\"1E+5\")", u"True"},
      {u"CHKNUM(\"1E5\")", u"False"},
      {u"CHKNUM(\"$1F\")", u"True"},
      {u"CHKNUM(\"abc\")", u"False"},
  });
  EXPECT_EQ(host.run(u"CHKNUM(\"1\")").booleanPayload(), -1);
}

TEST_F(StringBuiltinsTest, ValConvertsWithFallbacks) {
  expectAll({
      {u"VAL(\"1,234\")", u"1234"},
      {u"VAL(\" $FF \")", u"255"},
      {u"VAL(\"1e5\")", u"100000"},
      {u"VAL(\"abc\")", u"-999999"},
      {u"VAL(\"abc\", 0)", u"0"},
      {u"VAL(\"abc\", \"\", 1)", u"-999999"},
      {u"VAL(\"TRUE\", 0, 1)", u"1"},
      {u"VAL(\"false\", 0, 1)", u"0"},
      {u"VAL(\"VK_RETURN\", 0, 1)", u"13"},
      {u"VAL(\"TRUE\")", u"-999999"},
      {u"VAL(TRUE)", u"1"},
  });
}

TEST_F(StringBuiltinsTest, FormatNumbersAndRepeatedTexts) {
  expectAll({
      {u"FORMAT(3.14159, 8, 2)", u"    3.14"},
      {u"FORMAT(255, 0, -1)", u"FF"},
      {u"FORMAT(1234.5, 2, 1)", u"1234"},
      {u"FORMAT(\"-\", 3)", u"---"},
      {u"FORMAT(\"AB\", 5)", u"ABABA"},
      {u"FORMAT(\"AB\", 0)", u""},
      {u"FORMAT(2.675, 0, 2)", u"2"},
      {u"FORMAT(2.675, 5, 2)", u" 2.68"},
      {u"FORMAT(9.995, 6, 2)", u" 10.00"},
      {u"FORMAT(-0.001, 6, 2)", u"  0.00"},
      {u"FORMAT(12, 5)", u"   12"},
      {u"FORMAT(1.5, 5, 0)", u"    2"},
      {u"FORMAT(\"12\", 4)", u"1212"},
      {u"FORMAT(-1, 0, -1)", u"FFFFFFFFFFFFFFFF"},
  });
}

TEST_F(StringBuiltinsTest, FormatOfAnEmptyTextWithAWidthReturnsAtOnce) {
  expectAll({{u"FORMAT(\"\", 5)", u""}});
  EXPECT_TRUE(errorOf([&] { host.run(u"FORMAT(\"x\", 100000000000)"); }).thrown);
}

TEST_F(StringBuiltinsTest, ChrAndAscHandleSupplementaryCharacters) {
  expectAll({
      {u"CHR(65)", u"A"},
      {u"ASC(\"A\")", u"65"},
      {u"ASC(CHR($1F600))", u"128512"},
      {u"LENGTHS(CHR($10FFFF))", u"2"},
      {u"ASC(\"\")", u"0"},
  });
  for (const char16_t* bad : {u"CHR(-1)", u"CHR($110000)", u"CHR(4294967361)"}) {
    const auto e = errorOf([&] { host.run(bad); });
    EXPECT_TRUE(e.thrown) << u8(bad);
    EXPECT_NE(e.english.find(u"CHR"), std::u16string::npos);
  }
}

TEST_F(StringBuiltinsTest, StrConvMapsCaseKanaAndWidth) {
  expectAll({
      {u"STRCONV(\"abc\u00E9\", SC_UPPERCASE)", u"ABC\u00C9"},
      {u"STRCONV(\"ABC\u0394\", SC_LOWERCASE)", u"abc\u03B4"},
      {u"STRCONV(\"\u3042\u304C\", SC_KATAKANA)", u"\u30A2\u30AC"},
      {u"STRCONV(\"\u30A2\u30AC\u30F7\", SC_HIRAGANA)", u"\u3042\u304C\u30F7"},
      {u"STRCONV(\"\u30AC\u30D1A1 \", SC_HALFWIDTH)", u"\uFF76\uFF9E\uFF8A\uFF9FA1 "},
      {u"STRCONV(\"\uFF76\uFF9E\uFF8A\uFF9FA1 \", SC_FULLWIDTH)", u"\u30AC\u30D1\uFF21\uFF11\u3000"},
      {u"STRCONV(\"\u304C\", SC_KATAKANA + SC_HALFWIDTH)", u"\uFF76\uFF9E"},
      {u"STRCONV(\"\uFF76\uFF9E\", SC_HIRAGANA + SC_FULLWIDTH)", u"\u304C"},
      {u"STRCONV(\"\uFF41\", SC_UPPERCASE + SC_HALFWIDTH)", u"A"},
      {u"STRCONV(\"aB\", SC_UPPERCASE + SC_LOWERCASE)", u"aB"},
      {u"STRCONV(\"aB\", 1)", u"aB"},
  });
}

}  // namespace
}  // namespace maqo::builtins::strings_test
