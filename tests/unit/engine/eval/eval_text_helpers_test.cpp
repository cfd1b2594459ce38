#include <gtest/gtest.h>

#include "engine/eval/text_helpers.h"
#include "platform/text_codec.h"

namespace maqo::engine {
namespace {

std::vector<std::u16string> splitEvery(std::u16string text, std::u16string_view delimiters, SplitRules rules = {}) {
  std::vector<std::u16string> pieces;
  while (!text.empty()) pieces.push_back(SplitOff(text, delimiters, rules));
  return pieces;
}

using Pieces = std::vector<std::u16string>;

TEST(EvalTextHelpers, SplitOffRespectsQuotesBracketsAndParentheses) {
  struct Case {
    std::u16string text;
    std::u16string delimiters;
    SplitRules rules;
    Pieces pieces;
  };
  const Case cases[] = {
      {u"A(1,2),\"x,y\",[3,4],B", u",", {}, {u"A(1,2)", u"\"x,y\"", u"[3,4]", u"B"}},
      {u"A(1,2),B", u",", {.parens = false}, {u"A(1", u"2)", u"B"}},
      {u"[3,4],B", u",", {.brackets = false}, {u"[3", u"4]", u"B"}},
      {u"\"x,y\",B", u",", {.quotes = false}, {u"\"x", u"y\"", u"B"}},
      {u",,A,,B", u",", {.skipEmpty = true}, {u"A", u"B"}},
      {u",,A,,B", u",", {}, {u"", u"", u"A", u"", u"B"}},
      {u"A=1;B", u"=;", {}, {u"A", u"1", u"B"}},
      {u"F(A, B) + 1", u" +", {}, {u"F(A, B)", u"", u"", u"1"}},
      {u"F(A, B) + 1", u" +", {.skipEmpty = true}, {u"F(A, B)", u"1"}},
      {u"F(A, B) + 1", u" +", {.skipEmpty = true, .parens = false}, {u"F(A,", u"B)", u"1"}},
      {u"no delimiter", u",", {}, {u"no delimiter"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.text) + " at " + utf16ToUtf8(c.delimiters));
    EXPECT_EQ(splitEvery(c.text, c.delimiters, c.rules), c.pieces);
  }
}

TEST(EvalTextHelpers, SplitOffWithDelimiterTellsWhatEndedThePiece) {
  std::u16string text = u"A=1;B";
  const SplitPiece a = SplitOffWithDelimiter(text, u"=;");
  EXPECT_EQ(a.text, u"A");
  EXPECT_EQ(a.delimiter, u"=");
  EXPECT_EQ(text, u"1;B");
  const SplitPiece b = SplitOffWithDelimiter(text, u"=;");
  EXPECT_EQ(b.delimiter, u";");
  const SplitPiece c = SplitOffWithDelimiter(text, u"=;");
  EXPECT_EQ(c.text, u"B");
  EXPECT_EQ(c.delimiter, u"");
  EXPECT_TRUE(text.empty());
  // A closing ")" is a delimiter at the level it returns to: the call keeps its arguments.
  text = u"F(A, B) + 1";
  const SplitPiece call = SplitOffWithDelimiter(text, u") +");
  EXPECT_EQ(call.text, u"F(A, B");
  EXPECT_EQ(call.delimiter, u")");
}

TEST(EvalTextHelpers, SplitAllKeepsTrailingEmptyPiece) {
  EXPECT_EQ(SplitAll(u"A,(B,C),\"D,E\"", u","), (Pieces{u"A", u"(B,C)", u"\"D,E\""}));
  EXPECT_EQ(SplitAll(u"A,", u","), (Pieces{u"A", u""}));
  EXPECT_TRUE(SplitAll(u"", u",").empty());
}

TEST(EvalTextHelpers, FindOutsideCountsOnlyTopLevelOccurrences) {
  struct Case {
    std::u16string search, text;
    bool parens;
    int n;
    bool brackets;
    size_t position;
  };
  const Case cases[] = {
      {u" OR ", u"A OR B", false, 1, false, 2},
      {u"OR", u"\"OR\" OR X", false, 1, false, 6},
      {u"OR", u"A OR B OR C", false, 2, false, 8},
      {u"OR", u"A OR B OR C", false, 3, false, 0},
      {u"OR", u"A OR B", false, 0, false, 3},   // n below 1 counts as 1
      {u"OR", u"A OR B", false, -5, false, 3},
      {u"OR", u"(A OR B) OR C", true, 1, false, 10},
      {u"OR", u"(A OR B) OR C", false, 1, false, 4},
      {u"OR", u"[A OR B] OR C", false, 1, true, 10},
      {u"OR", u"[A OR B] OR C", true, 1, false, 4},  // brackets not asked: they do not hide
      {u")OR(", u"(A)OR(B)", true, 1, false, 3},
      {u"AA", u"AAAA", false, 2, false, 3},          // occurrences do not overlap
      {u"X", u"abc", false, 1, false, 0},
      {u"", u"abc", false, 1, false, 0},
      {u"\"", u"a\"b\"c", false, 2, false, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.search) + " in " + utf16ToUtf8(c.text));
    EXPECT_EQ(FindOutside(c.search, c.text, c.parens, c.n, c.brackets), c.position);
  }
}

TEST(EvalTextHelpers, CountOutside) {
  const std::u16string text = u"a,\"b,c\",[d,e],(f,g)";
  EXPECT_EQ(CountOutside(u',', text), 5);
  EXPECT_EQ(CountOutside(u',', text, true), 4);
  EXPECT_EQ(CountOutside(u',', text, false, true), 4);
  EXPECT_EQ(CountOutside(u',', text, true, true), 3);
  EXPECT_EQ(CountOutside(u'x', text), 0);
}

TEST(EvalTextHelpers, ReplaceAll) {
  struct Case {
    std::u16string text, oldText, newText;
    bool ignoreCase;
    std::u16string result;
  };
  const std::u16string nul(1, u'\0');
  const Case cases[] = {
      {u"a-b-c", u"-", u"+", false, u"a+b+c"},
      {u"aBc abc", u"b", u"X", false, u"aBc aXc"},
      {u"aBc abc", u"b", u"X", true, u"aXc aXc"},
      {u"\u00E9t\u00C9", u"\u00C9", u"e", true, u"ete"},
      {u"aaa", u"aa", u"b", false, u"ba"},
      {u"a", u"a", u"aa", false, u"aa"},  // replaced text is not examined again
      {u"abc", u"", u"X", false, u"abc"},
      {u"a" + nul + u"b" + nul, nul, u",", false, u"a,b,"},
      {u"a" + nul + u"B", u"b", nul, true, u"a" + nul + nul},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.text));
    EXPECT_EQ(ReplaceAll(c.text, c.oldText, c.newText, c.ignoreCase), c.result);
  }
}

// The system's case table is one-to-one: final sigma keeps its case.
TEST(EvalTextHelpers, UpperCaseMapsTheLettersWindowsMaps) {
  EXPECT_EQ(UpperCase(u"abz\u00E9\u00FF\u0101\u013A\u03B1\u03C2\u0430\u0451\uFF41"),
            u"ABZ\u00C9\u0178\u0100\u0139\u0391\u03C2\u0410\u0401\uFF21");
  EXPECT_EQ(UpperCase(u"\u00F7\u00DF1_\u3042"), u"\u00F7\u00DF1_\u3042");
}

TEST(EvalTextHelpers, TrimRemovesSpacesTabsAndFullWidthSpaces) {
  EXPECT_EQ(Trim(u" \t\u3000a b\u3000 "), u"a b");
  EXPECT_EQ(Trim(u"   "), u"");
}

}  // namespace
}  // namespace maqo::engine
