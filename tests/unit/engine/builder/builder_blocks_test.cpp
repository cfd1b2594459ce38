// Block structure: kinds, encoded opening lines, parsed links and every
// structural error of IFB, SELECT, FOR, FOR ... IN, WHILE, REPEAT and TRY.
#include <gtest/gtest.h>

#include "tests/unit/engine/builder/builder_test_support.h"

namespace maqo::engine::builder_test {
namespace {

struct ListingCase {
  const char* name;
  Source body;
  std::vector<std::string> expected;  // "kind text" per body line
};

class BuilderBlockListing : public BuilderTest, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(BuilderBlockListing, BuildsLinesAndKinds) {
  buildMain(GetParam().body);
  EXPECT_EQ(body(), GetParam().expected);
  EXPECT_EQ(program.firstErrorLine(), -1) << firstError();
  EXPECT_TRUE(host.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuilderBlockListing,
    ::testing::Values(
        ListingCase{"IfChain",
                    {u"IFB A THEN", u"X = 1", u"ELSEIF B", u"X = 2", u"ELSE", u"X = 3", u"ENDIF"},
                    {"11 A`2`4`6", "0 X = 1", "11 B`-4`2`4", "0 X = 2", "13 ", "0 X = 3", "12 "}},
        ListingCase{"OneLineIfElse",
                    {u"IF X THEN A = 1 ELSE A = 2"},
                    {"11 X`-2`2`4", "0 A = 1", "13 ", "0 A = 2", "12 "}},
        ListingCase{"OneLineIfWithoutElse",
                    {u"IF X THEN A = 1"},
                    {"11 X`-2`2`4", "0 A = 1", "13 ", "51 __DF_MAQO_SYNTAX_NOP__", "12 "}},
        ListingCase{"OneLineIfOnlyElse",
                    {u"IF X THEN ELSE B = 1"},
                    {"11 X`-2`2`4", "51 __DF_MAQO_SYNTAX_NOP__", "13 ", "0 B = 1", "12 "}},
        ListingCase{"OneLineIfParenthesesKeepTheirBracket",
                    {u"IF (X)THEN F(1)ELSE G(2)"},
                    {"11 (X)`-2`2`4", "0 F(1)", "13 ", "0 G(2)", "12 "}},
        ListingCase{"IfThenAloneOpensABlock",
                    {u"IF X THEN", u"A = 1", u"ENDIF"},
                    {"11 X`-2`-2`2", "0 A = 1", "12 "}},
        ListingCase{"IfTrailingSemicolonIsDropped",
                    {u"IF X THEN A = 1;"},
                    {"11 X`-2`2`4", "0 A = 1", "13 ", "51 __DF_MAQO_SYNTAX_NOP__", "12 "}},
        ListingCase{"StatementsSplitAtTopLevelSemicolons",
                    {u"A = 1; B = \"x;y\"; C = F(1;2)"},
                    {"0 A = 1", "0 B = \"x;y\"", "0 C = F(1;2)"}},
        ListingCase{"SelectWithDefault",
                    {u"SELECT X", u"CASE 1, 2", u"A = 1", u"DEFAULT", u"A = 2", u"SELEND"},
                    {"22 X`1,1, 2`3,DEFAULT`5,SELEND", "24 1, 2", "0 A = 1", "25 ", "0 A = 2", "23 "}},
        ListingCase{"DefaultIsAWholeWord",
                    {u"SELECT X", u"CASE 1", u"DEFAULTX = 1", u"SELEND"},
                    {"22 X`1,1`3,SELEND", "24 1", "0 DEFAULTX = 1", "23 "}},
        ListingCase{"InnerSelectKeepsItsCases",
                    {u"SELECT X", u"CASE 1", u"SELECT Y", u"CASE 2", u"CASE 3", u"SELEND", u"SELEND"},
                    {"22 X`1,1`6,SELEND", "24 1", "22 Y`1,2`2,3`3,SELEND", "24 2", "24 3", "23 ", "23 "}},
        ListingCase{"ForWithStep",
                    {u"FOR I = 1 TO 10 STEP 2", u"PRINT I", u"NEXT"},
                    {"14 I` 1 `10` 2`2", "31 I", "16 "}},
        ListingCase{"ForWithoutStep", {u"FOR I = 1 TO 3", u"NEXT"}, {"14 I` 1 `3`1`1", "16 "}},
        ListingCase{"ForIn", {u"FOR X IN LIST", u"NEXT"}, {"15 X`LIST`1", "16 "}},
        ListingCase{"While", {u"WHILE A < 3", u"A = A + 1", u"WEND"}, {"17 A < 3`2", "0 A = A + 1", "18 "}},
        ListingCase{"RepeatTakesTheUntilCondition",
                    {u"REPEAT", u"A = A + 1", u"UNTIL A > 3"},
                    {"19 A > 3`2", "0 A = A + 1", "21 A > 3"}},
        ListingCase{"TryExcept",
                    {u"TRY", u"A = 1", u"EXCEPT", u"B = 1", u"ENDTRY"},
                    {"26 1 2 2", "0 A = 1", "28 ", "0 B = 1", "29 "}},
        ListingCase{"TryFinallyWithNestedTry",
                    {u"TRY", u"TRY", u"EXCEPT", u"ENDTRY", u"FINALLY", u"ENDTRY"},
                    {"26 0 4 1", "26 1 1 1", "28 ", "29 ", "27 ", "29 "}},
        ListingCase{"BreakInsideALoopOfAFinallyPart",
                    {u"TRY", u"FINALLY", u"FOR I = 1 TO 2", u"BREAK", u"NEXT", u"ENDTRY"},
                    {"26 0 1 4", "27 ", "14 I` 1 `2`1`2", "36 ", "16 ", "29 "}},
        ListingCase{"SimpleKinds",
                    {u"PRINT 1", u"THREAD F()", u"DIM A", u"HASHTBL H", u"WITH OBJ", u"ENDWITH", u"COM_ERR_IGN",
                     u"COM_ERR_RET", u"EXITEXIT 3", u"CALL SUB.MQS", u"EXIT"},
                    {"31 1", "32 F()", "34 A", "35 H", "42 OBJ", "43 ", "44 ", "45 ", "41 3", "39 SUB.MQS",
                     "38 "}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
  const char* name;
  Source body;
  int line;             // body line (1-based) that carries the first error
  const char* message;  // English
};

class BuilderBlockErrors : public BuilderTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(BuilderBlockErrors, MarksTheLine) {
  buildMain(GetParam().body);
  EXPECT_EQ(program.firstErrorLine(), GetParam().line);
  EXPECT_EQ(firstError(), GetParam().message);
  EXPECT_TRUE(host.errors.empty()) << "line errors are not reported directly";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuilderBlockErrors,
    ::testing::Values(
        // Closing keywords without their opener.
        ErrorCase{"StrayEndIf", {u"ENDIF"}, 1, "No corresponding IFB"},
        ErrorCase{"StrayElse", {u"ELSE"}, 1, "No corresponding IFB"},
        ErrorCase{"StrayNext", {u"NEXT"}, 1, "No corresponding FOR"},
        ErrorCase{"StrayWend", {u"WEND"}, 1, "No corresponding WHILE"},
        ErrorCase{"StrayUntil", {u"UNTIL A"}, 1, "No corresponding REPEAT"},
        ErrorCase{"StraySelend", {u"SELEND"}, 1, "No corresponding SELECT"},
        ErrorCase{"StrayCase", {u"CASE 1"}, 1, "No corresponding SELECT"},
        ErrorCase{"StrayDefault", {u"DEFAULT"}, 1, "No corresponding SELECT"},
        ErrorCase{"StrayExcept", {u"EXCEPT"}, 1, "No corresponding TRY"},
        ErrorCase{"StrayFinally", {u"FINALLY"}, 1, "No corresponding TRY"},
        ErrorCase{"StrayEndTry", {u"ENDTRY"}, 1, "No corresponding TRY"},
        ErrorCase{"StrayElseIf", {u"A = 1", u"ELSEIF B", u"ENDIF"}, 2, "No corresponding IFB"},
        ErrorCase{"ElseIfAfterElse", {u"IFB A", u"ELSE", u"ELSEIF B", u"ENDIF"}, 3, "No corresponding IFB"},
        ErrorCase{"BareUntilIsNoEnd", {u"REPEAT", u"UNTIL"}, 1, "It doesn't have REPEAT toward UNTIL"},
        // Openers without their end.
        ErrorCase{"IfWithoutEndIf", {u"IFB A"}, 1, "It doesn't have ENDIF toward IFB"},
        ErrorCase{"UnclosedIfInsideFor", {u"FOR I = 1 TO 2", u"IFB A", u"NEXT"}, 2,
                  "It doesn't have ENDIF toward IFB"},
        ErrorCase{"SelectWithoutSelend", {u"SELECT A", u"CASE 1"}, 1, "It doesn't have SELEND toward SELECT"},
        ErrorCase{"ForWithoutNext", {u"FOR I = 1 TO 2"}, 1, "It doesn't have NEXT toward FOR"},
        ErrorCase{"WhileWithoutWend", {u"WHILE A"}, 1, "It doesn't have WEND toward WHILE"},
        ErrorCase{"TryWithoutHandler", {u"TRY"}, 1, "It doesn't have FINALLY or EXCEPT toward TRY"},
        ErrorCase{"TryWithoutEndTry", {u"TRY", u"EXCEPT"}, 1, "It doesn't have ENDTRY toward FINALLY or EXCEPT"},
        ErrorCase{"BlocksEndAtFend", {u"IFB A", u"FEND", u"ENDIF"}, 1, "It doesn't have ENDIF toward IFB"},
        // Malformed parts.
        ErrorCase{"ElseTwice", {u"IFB A", u"ELSE", u"ELSE", u"ENDIF"}, 1, "ELSE Multiplex definition"},
        ErrorCase{"ElseWithText", {u"IFB A", u"ELSE B = 1", u"ENDIF"}, 1, "ELSE: SyntaxError"},
        ErrorCase{"DefaultTwice", {u"SELECT A", u"DEFAULT", u"DEFAULT", u"SELEND"}, 1,
                  "DEFAULT Multiplex definition"},
        ErrorCase{"DefaultWithText", {u"SELECT A", u"DEFAULT X", u"SELEND"}, 1, "DEFAULT Multiplex definition"},
        ErrorCase{"NextWithVariable", {u"FOR I = 1 TO 3", u"NEXT I"}, 1, "Must describe nothing to NEXT"},
        ErrorCase{"ForWithoutVariable", {u"FOR = 1 TO 3", u"NEXT"}, 1, "SyntaxError-50"},
        ErrorCase{"ForWithoutTo", {u"FOR I = 1", u"NEXT"}, 1, "It doesn't have \"TO\""},
        ErrorCase{"ForEndingInTo", {u"FOR I = 1 TO", u"NEXT"}, 1, "It doesn't have \"TO\""},
        ErrorCase{"ForWithoutEqualsOrIn", {u"FOR I", u"NEXT"}, 1, "It doesn't have \"IN\""},
        ErrorCase{"ForInWithoutVariable", {u"FOR IN X", u"NEXT"}, 1, "SyntaxError-51"},
        ErrorCase{"RepeatWithText", {u"REPEAT X", u"UNTIL A"}, 1, "Something is here after REPEAT"},
        ErrorCase{"TryWithText", {u"TRY X", u"EXCEPT", u"ENDTRY"}, 1, "Something is here after TRY"},
        ErrorCase{"EndWithWithText", {u"ENDWITH X"}, 1, "SyntaxError-49"},
        ErrorCase{"ComErrIgnWithText", {u"COM_ERR_IGN 1"}, 1, "SyntaxError-49"},
        // TRY and its handler must stand in one block.
        ErrorCase{"TryHandlerInsideALoop", {u"TRY", u"FOR I = 1 TO 2", u"EXCEPT", u"NEXT", u"ENDTRY"}, 1,
                  "TRY steps over the loop or block"},
        ErrorCase{"TryHandlerInASiblingLoop",
                  {u"FOR I = 1 TO 2", u"TRY", u"NEXT", u"FOR J = 1 TO 2", u"EXCEPT", u"NEXT", u"ENDTRY"}, 2,
                  "TRY steps over the loop or block"},
        ErrorCase{"TryHandlerInTheOtherBranch",
                  {u"IFB A", u"TRY", u"ELSE", u"EXCEPT", u"ENDTRY", u"ENDIF"}, 2, "TRY steps over the loop or block"},
        ErrorCase{"TryHandlerInAnotherCase",
                  {u"SELECT A", u"CASE 1", u"TRY", u"CASE 2", u"EXCEPT", u"ENDTRY", u"SELEND"}, 3,
                  "TRY steps over the loop or block"},
        ErrorCase{"EndTryInsideALoop", {u"TRY", u"FINALLY", u"WHILE A", u"ENDTRY", u"WEND"}, 1,
                  "FINALLY or EXCEPT steps over the loop or block"},
        // Jumps out of FINALLY parts.
        ErrorCase{"BreakInFinally", {u"WHILE A", u"TRY", u"FINALLY", u"BREAK", u"ENDTRY", u"WEND"}, 3,
                  "\"Break\", \"Continue\", and \"Exit\" cannot be used in the part FINALLY"},
        ErrorCase{"ContinueInFinally", {u"WHILE A", u"TRY", u"FINALLY", u"CONTINUE", u"ENDTRY", u"WEND"}, 3,
                  "\"Break\", \"Continue\", and \"Exit\" cannot be used in the part FINALLY"},
        ErrorCase{"ExitInALoopOfAFinallyPart",
                  {u"TRY", u"FINALLY", u"FOR I = 1 TO 2", u"EXIT", u"NEXT", u"ENDTRY"}, 2,
                  "\"Break\", \"Continue\", and \"Exit\" cannot be used in the part FINALLY"},
        ErrorCase{"BreakCountLeavingFinally",
                  {u"WHILE A", u"TRY", u"FINALLY", u"FOR I = 1 TO 2", u"BREAK 2", u"NEXT", u"ENDTRY", u"WEND"}, 3,
                  "\"Break\", \"Continue\", and \"Exit\" cannot be used in the part FINALLY"},
        ErrorCase{"BreakInATryInsideFinally",
                  {u"WHILE A", u"TRY", u"FINALLY", u"TRY", u"BREAK", u"EXCEPT", u"ENDTRY", u"ENDTRY", u"WEND"}, 3,
                  "\"Break\", \"Continue\", and \"Exit\" cannot be used in the part FINALLY"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BuilderTest, InterleavedBlocksAreAnErrorNotTwoBlocks) {
  buildMain({u"IFB A", u"FOR I = 1 TO 2", u"ENDIF", u"NEXT"});
  EXPECT_EQ(program.firstErrorLine(), 2);
  EXPECT_EQ(firstError(), "It doesn't have NEXT toward FOR");
  EXPECT_EQ(line(1), "11 A`-2`-2`2");
  EXPECT_EQ(line(4), "0 " + std::string("__MAQO_ERROR_ARI__No corresponding FOR"));
}

TEST_F(BuilderTest, FailedBlockLeavesItsKeywordsUnclaimedButTheOuterBlockIntact) {
  buildMain({u"WHILE A", u"IFB B", u"ELSE", u"ELSE", u"ENDIF", u"WEND"});
  EXPECT_EQ(line(1), "17 A`5");
  EXPECT_EQ(line(2), "0 __MAQO_ERROR_ARI__ELSE Multiplex definition");
  EXPECT_EQ(line(3), "0 __MAQO_ERROR_ARI__No corresponding IFB");
  EXPECT_EQ(line(5), "0 __MAQO_ERROR_ARI__No corresponding IFB");
}

TEST_F(BuilderTest, MessagesFollowTheSystemLanguage) {
  buildMain({u"ENDIF", u"FOR I = 1 TO 2"}, true);
  EXPECT_EQ(utf16ToUtf8(program.ScriptLines[1]), "__MAQO_ERROR_ARI__対応する IFB が無い");
  EXPECT_EQ(utf16ToUtf8(program.ScriptLines[2]), "__MAQO_ERROR_ARI__FORに対しNEXTが無い");
}

TEST_F(BuilderTest, IfLinksOnEveryLinkOfTheChain) {
  buildMain({u"IFB A", u"ELSEIF B", u"ELSEIF C", u"ELSE", u"ENDIF"});
  for (int q : {1, 2, 3}) {
    const auto& l = links<IfLinks>(q);
    EXPECT_EQ(l.nextElseIf, q < 3 ? q + 1 : -1);
    EXPECT_EQ(l.elseLine, 4);
    EXPECT_EQ(l.endIf, 5);
  }
  EXPECT_EQ(links<IfLinks>(2).condition, u"B");
  EXPECT_EQ(program.Records[4].opener, 1);
  EXPECT_EQ(program.Records[3].opener, 1);
}

TEST_F(BuilderTest, BackQuotesInsideStringsStayInTheParsedTexts) {
  buildMain({u"IFB A = \"x`y\" THEN", u"ENDIF", u"SELECT S", u"CASE \"a`b\", \"c,d\", ,", u"SELEND",
             u"WHILE T <> \"`\"", u"WEND"});
  EXPECT_EQ(program.firstErrorLine(), -1) << firstError();
  EXPECT_EQ(links<IfLinks>(1).condition, u"A = \"x`y\"");
  EXPECT_EQ(links<IfLinks>(1).endIf, 2);
  const auto& select = links<SelectLinks>(3);
  ASSERT_EQ(select.cases.size(), 1u);
  EXPECT_EQ(select.cases[0].line, 4);
  EXPECT_EQ(select.cases[0].values, (std::vector<std::u16string>{u"\"a`b\"", u"\"c,d\""}));
  EXPECT_EQ(select.selend, 5);
  EXPECT_EQ(links<WhileLinks>(6).condition, u"T <> \"`\"");
  EXPECT_EQ(links<WhileLinks>(6).wend, 7);
}

TEST_F(BuilderTest, ForPartsAreFoundAsWords) {
  struct Case {
    std::u16string header;
    StatementKind kind;
    std::u16string variable, from, to, step, collection;
  };
  const Case cases[] = {
      {u"FOR I = TOTAL TO 5", StatementKind::For, u"I", u"TOTAL", u"5", u"1", {}},
      {u"FOR I = 1 TO TOP", StatementKind::For, u"I", u"1", u"TOP", u"1", {}},
      {u"FOR I = AUTO TO 5", StatementKind::For, u"I", u"AUTO", u"5", u"1", {}},
      {u"FOR I = 1 TO STEPS", StatementKind::For, u"I", u"1", u"STEPS", u"1", {}},
      {u"FOR I = 1 TO 9 STEP -2", StatementKind::For, u"I", u"1", u"9", u"-2", {}},
      {u"FOR I = LEN(\"A TO B\")TO 5", StatementKind::For, u"I", u"LEN(\"A TO B\")", u"5", u"1", {}},
      {u"FOR A[1] = 0 TO N STEP S", StatementKind::For, u"A[1]", u"0", u"N", u"S", {}},
      {u"FOR X IN SPLIT(S,\"=\")", StatementKind::ForIn, u"X", {}, {}, {}, u"SPLIT(S,\"=\")"},
      {u"FOR X IN INDEX", StatementKind::ForIn, u"X", {}, {}, {}, u"INDEX"},
  };
  for (const auto& c : cases) {
    buildMain({c.header, u"NEXT"});
    SCOPED_TRACE(utf16ToUtf8(c.header));
    ASSERT_EQ(program.firstErrorLine(), -1) << firstError();
    EXPECT_EQ(program.Records[1].kind, c.kind);
    EXPECT_EQ(program.Records[2].opener, 1);
    if (c.kind == StatementKind::For) {
      const auto& l = links<ForLinks>(1);
      EXPECT_EQ(l.variable, c.variable);
      EXPECT_EQ(l.from, c.from);
      EXPECT_EQ(l.to, c.to);
      EXPECT_EQ(l.step, c.step);
      EXPECT_EQ(l.next, 2);
    } else {
      const auto& l = links<ForInLinks>(1);
      EXPECT_EQ(l.variable, c.variable);
      EXPECT_EQ(l.collection, c.collection);
      EXPECT_EQ(l.next, 2);
    }
  }
}

TEST_F(BuilderTest, TryAndHandlerLinkEachOther) {
  buildMain({u"TRY", u"A = 1", u"FINALLY", u"B = 1", u"ENDTRY"});
  const auto& t = links<TryLinks>(1);
  EXPECT_FALSE(t.except);
  EXPECT_EQ(t.handler, 3);
  EXPECT_EQ(t.endTry, 5);
  const auto& h = links<HandlerLinks>(3);
  EXPECT_EQ(h.tryLine, 1);
  EXPECT_EQ(h.endTry, 5);
  EXPECT_EQ(program.Records[5].opener, 1);
}

TEST_F(BuilderTest, SelectLinksListCasesDefaultAndSelend) {
  buildMain({u"SELECT X", u"CASE 1", u"DEFAULT", u"CASE 2, 3", u"SELEND"});
  const auto& s = links<SelectLinks>(1);
  EXPECT_EQ(s.expression, u"X");
  ASSERT_EQ(s.cases.size(), 2u);
  EXPECT_EQ(s.cases[1].line, 4);
  EXPECT_EQ(s.cases[1].valuesText, u"2, 3");
  EXPECT_EQ(s.defaultLine, 3);
  EXPECT_EQ(s.selend, 5);
  EXPECT_EQ(line(1), "22 X`1,1`2,DEFAULT`3,2, 3`4,SELEND");
}

TEST_F(BuilderTest, NestedBlocksTwoHundredDeep) {
  Source body;
  for (int i = 0; i < 100; ++i) {
    body.push_back(u"FOR I" + u16(std::to_string(i)) + u" = 1 TO 2");
    body.push_back(u"IFB A");
  }
  for (int i = 0; i < 100; ++i) {
    body.push_back(u"ENDIF");
    body.push_back(u"NEXT");
  }
  buildMain(body);
  ASSERT_EQ(program.firstErrorLine(), -1) << firstError();
  for (int i = 0; i < 100; ++i) {
    const int forLine = 1 + 2 * i;
    const int nextLine = 400 - 2 * i;
    EXPECT_EQ(links<ForLinks>(forLine).next, nextLine);
    EXPECT_EQ(links<IfLinks>(forLine + 1).endIf, nextLine - 1);
  }
}

TEST_F(BuilderTest, HundredThousandLevelsNeedNoStack) {
  constexpr int kDepth = 100000;
  Source body(kDepth, u"WHILE A");
  body.insert(body.end(), kDepth, u"WEND");
  buildMain(body);
  ASSERT_EQ(program.firstErrorLine(), -1) << firstError();
  EXPECT_EQ(links<WhileLinks>(1).wend, 2 * kDepth);
  EXPECT_EQ(links<WhileLinks>(kDepth).wend, kDepth + 1);

  // The same depth left open fails block by block.
  buildMain(Source(kDepth, u"IFB A"));
  EXPECT_EQ(firstError(), "It doesn't have ENDIF toward IFB");
  EXPECT_TRUE(program.Records[kDepth].error);
}

}  // namespace
}  // namespace maqo::engine::builder_test
