// The check pass over whole scripts: what it rejects (message in both
// languages, and the line the error is shown at), what it must accept, and
// that it changes nothing while it walks.
#include <gtest/gtest.h>

#include "tests/unit/engine/check/check_test_support.h"

namespace maqo::engine::check_test {
namespace {

struct Rejected {
  const char* name;
  Lines script;
  const char* english;
  const char* japanese;  // "" when the message has one form
  int line;              // 1-based, in the script
};

class CheckRejects : public CheckTest, public ::testing::WithParamInterface<Rejected> {};

TEST_P(CheckRejects, FirstErrorWithItsLine) {
  const Rejected& c = GetParam();
  const auto failure = check(c.script);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(utf16ToUtf8(failure->message.english), c.english);
  EXPECT_EQ(utf16ToUtf8(failure->message.japanese), c.japanese);
  EXPECT_EQ(sourceNumber(*failure), c.line);
  EXPECT_TRUE(ui.printed().empty());
  EXPECT_TRUE(ui.errors().empty());  // reporting is the run driver's business
}

const char* const kUndefinedX = "変数: X が定義されていません";

INSTANTIATE_TEST_SUITE_P(
    Names, CheckRejects,
    ::testing::Values(
        Rejected{"UndeclaredUnderOptionExplicit", {u"PRINT \"x\"", u"OPTION EXPLICIT", u"X = 1"},
                 "It isn't defined: X", kUndefinedX, 3},
        Rejected{"ReadOfUndefinedName", {u"Y = 1", u"PRINT Y + X"}, "It isn't defined: X", kUndefinedX, 2},
        Rejected{"FunctionDoesNotSeeTheMainPartsLocals", {u"X = 1", u"F()", u"PROCEDURE F()", u"PRINT X", u"FEND"},
                 "It isn't defined: X", kUndefinedX, 4},
        Rejected{"ReadBeforeTheAssignmentInTheText", {u"PRINT X", u"X = 1"}, "It isn't defined: X", kUndefinedX, 1},
        Rejected{"IndexOfAnAssignmentTarget", {u"DIM A[2]", u"A[X] = 1"}, "It isn't defined: X", kUndefinedX, 2},
        Rejected{"DefaultIsNoDeclarationForTheCaller", {u"F()", u"PRINT A", u"PROCEDURE F(A = 1)", u"FEND"},
                 "It isn't defined: A", "変数: A が定義されていません", 2},
        Rejected{"ForInCollection", {u"FOR E IN LIST", u"NEXT"}, "It isn't defined: LIST", "変数: LIST が定義されていません", 1},
        Rejected{"CaseValue", {u"SELECT 1", u"CASE 2, X", u"SELEND"}, "It isn't defined: X", kUndefinedX, 2},
        Rejected{"ComObjectVariable", {u"OBJ.RUN()"}, "It isn't defined: OBJ", "変数: OBJ が定義されていません", 1},
        Rejected{"ComNamedArgumentValue", {u"OBJ = 1", u"OBJ.RUN(MODE := X)"}, "It isn't defined: X", kUndefinedX, 2},
        Rejected{"IndexInAMemberChain", {u"OBJ = 1", u"Y = OBJ.ITEMS(1).ITEM[X]"},
                 "It isn't defined: X", kUndefinedX, 2},
        // F(1).NAME is built as F[1].NAME: F is a variable, or a function whose result is the object.
        Rejected{"ObjectOfAMemberChain", {u"Y = F(1).NAME"}, "It isn't defined: F", "変数: F が定義されていません", 1},
        Rejected{"ArgumentOfTheCallBeforeAMemberChain", {u"Y = F(X).NAME", u"FUNCTION F(A)", u"RESULT = A", u"FEND"},
                 "It isn't defined: X", kUndefinedX, 1},
        Rejected{"MalformedExpressionInCheckMode", {u"Y = (\"a\" - 1"},
                 "expression is wrong. or a type isn't correct.", "式がおかしい or 型が合っていない", 1},
        // Module privacy.
        Rejected{"ModuleDimFromTheMainPart", {u"PRINT M.X", u"MODULE M", u"DIM X = 1", u"ENDMODULE"},
                 "It isn't defined: M.X", "変数: M.X は参照できません", 1},
        Rejected{"ModuleDimFromAnotherModule", {u"MODULE A", u"PROCEDURE F()", u"PRINT B.X", u"FEND", u"ENDMODULE",
                  u"MODULE B", u"DIM X = 1", u"ENDMODULE"},
                 "It isn't defined: B.X", "変数: B.X は参照できません", 3},
        Rejected{"ModuleDimThroughWith", {u"WITH M", u"PRINT .X", u"ENDWITH", u"MODULE M", u"DIM X = 1", u"ENDMODULE"},
                 "It isn't defined: .X", "変数: .X は参照できません", 2},
        Rejected{"ModuleHashTableAssignedFromOutside", {u"M.H[1] = 2", u"MODULE M", u"HASHTBL H", u"ENDMODULE"},
                 "It isn't defined: M.H", "変数: M.H は参照できません", 1},
        // Loops, BREAK and CONTINUE.
        Rejected{"BreakCountAboveTheLoopDepth", {u"FOR I = 1 TO 3", u"BREAK 2", u"NEXT"},
                 "Number of BREAK is wrong", "BREAK 数 が間違っています", 2},
        Rejected{"BreakCountWithALeadingZero", {u"WHILE TRUE", u"FOR I = 1 TO 3", u"BREAK 02", u"NEXT", u"WEND"},
                 "Number of BREAK is wrong", "BREAK 数 が間違っています", 3},
        Rejected{"BreakOutsideAnyLoop", {u"PRINT 1", u"BREAK"},
                 "There is BREAK sentence outside the loop", "ループ外に BREAK 文がある", 2},
        Rejected{"BreakAfterTheLoopClosed", {u"FOR I = 1 TO 2", u"NEXT", u"BREAK"},
                 "There is BREAK sentence outside the loop", "ループ外に BREAK 文がある", 3},
        Rejected{"ContinueOutsideAnyLoop", {u"IFB TRUE", u"CONTINUE", u"ENDIF"},
                 "There is CONTINUE sentence outside the loop", "ループ外に CONTINUE 文がある", 2},
        Rejected{"ContinueCountZero", {u"REPEAT", u"CONTINUE 0", u"UNTIL TRUE"},
                 "Number of CONTINUE is wrong", "CONTINUE 数 が間違っています", 2},
        // Conditions and FOR headers.
        Rejected{"TextCondition", {u"IFB \"A\"", u"ENDIF"}, "SyntaxError-90", "", 1},
        Rejected{"TextMadeByTheCondition", {u"S = 1", u"WHILE S + \"x\"", u"WEND"}, "SyntaxError-90", "", 2},
        Rejected{"UntilCondition", {u"REPEAT", u"UNTIL \"no\""}, "SyntaxError-90", "", 2},
        Rejected{"BuiltinStringConstantKeepsItsText", {u"IFB GET_ACTIVE_WIN", u"ENDIF"}, "SyntaxError-90", "", 1},
        Rejected{"ForStart", {u"FOR I = \"a\" TO 3", u"NEXT"}, "SyntaxError-95", "", 1},
        Rejected{"ForEnd", {u"FOR I = 1 TO \"ten\"", u"NEXT"}, "SyntaxError-96", "", 1},
        Rejected{"ForStep", {u"FOR I = 1 TO 3 STEP \"x\"", u"NEXT"}, "SyntaxError-97", "", 1},
        Rejected{"ForVariableIsAConstant", {u"CONST C = 1", u"FOR C = 1 TO 2", u"NEXT"},
                 "Constant can not be assigned a value", "定数には値を代入できません", 2},
        // Statements.
        Rejected{"ExitWithText", {u"EXIT 1"}, "SyntaxError-100", "", 1},
        Rejected{"WithGlobal", {u"WITH GLOBAL", u"ENDWITH"}, "SyntaxError-101", "", 1},
        Rejected{"WithThisOutsideAModule", {u"WITH THIS", u"ENDWITH"}, "SyntaxError-102", "", 1},
        Rejected{"EndWithWithoutWith", {u"WITH M", u"ENDWITH", u"ENDWITH", u"MODULE M", u"ENDMODULE"},
                 "It doesn't pair with \"WITH\"", "WITH文と対になっていない", 3},
        Rejected{"AssignmentWithoutTarget", {u"= 5"}, "SyntaxError-103", "", 1},
        Rejected{"ColonEquals", {u"X := 5"}, "SyntaxError-103", "", 1},
        Rejected{"AssignmentWithoutValue", {u"X ="}, "SyntaxError-104", "", 1},
        Rejected{"MemberCallWithoutWith", {u".RUN()"}, "SyntaxError-105", "", 1},
        Rejected{"MemberReadWithoutWith", {u"Y = .NAME"}, "SyntaxError-105", "", 1},
        Rejected{"DoubleDotInAMemberRead", {u"OBJ = 1", u"Y = OBJ..NAME"}, "SyntaxError-107", "", 2},
        Rejected{"DoubleDotInAMemberCall", {u"OBJ = 1", u"OBJ..RUN()"}, "SyntaxError-108", "", 2},
        Rejected{"MemberCallNotClosed", {u"OBJ = 1", u"OBJ.RUN(1"},
                 "An OLE function isn't properly close", "OLE関数が正しく閉じていません", 2},
        Rejected{"CallNotClosed", {u"F(1", u"PROCEDURE F(A)", u"FEND"},
                 "Function isn't properly close", "関数が正しく閉じていません", 1},
        // Assignment targets.
        Rejected{"TargetStartingWithADigit", {u"1X = 2"}, "SyntaxError-76", "", 1},
        Rejected{"TargetWithoutName", {u"[1] = 2"}, "SyntaxError-75", "", 1},
        Rejected{"LocalHashTableWithoutIndex", {u"HASHTBL H", u"H = 5"}, "SyntaxError-77", "", 2},
        Rejected{"GlobalHashTableWithoutIndex", {u"PUBLIC HASHTBL G", u"G = 5"}, "SyntaxError-78", "", 2},
        Rejected{"GlobalHashTableWithTwoIndexes", {u"PUBLIC HASHTBL G", u"G[1, 2] = 5"}, "SyntaxError-78", "", 2},
        Rejected{"GlobalHashTableReadWithThreeIndexes", {u"PUBLIC HASHTBL G", u"PRINT G[1, 2, 3]"},
                 "SyntaxError-79", "", 2},
        Rejected{"ConstantAssigned", {u"CONST C = 1", u"C = 2"},
                 "Constant can not be assigned a value", "定数には値を代入できません", 2},
        Rejected{"TextBlockAssigned", {u"TEXTBLOCK T", u"some text", u"ENDTEXTBLOCK", u"T = 2"},
                 "Constant can not be assigned a value", "定数には値を代入できません", 4},
        Rejected{"SpecialNameAssigned", {u"TRY_ERRMSG = 1"}, "Is a reserved word: TRY_ERRMSG", "TRY_ERRMSG は予約語です", 1},
        // Declarations.
        Rejected{"DimTwice", {u"DIM A", u"DIM A"}, "It has already been defined: A", "変数: A は既に定義されています", 2},
        Rejected{"DimOfAParameter", {u"F(1)", u"PROCEDURE F(A)", u"DIM A", u"FEND"},
                 "It has already been defined: A", "変数: A は既に定義されています", 3},
        Rejected{"DimOfAConstant", {u"CONST C = 1", u"DIM C"},
                 "It has already been defined: C", "変数: C は既に定義されています", 2},
        Rejected{"DimOfAReservedWord", {u"DIM TRUE"}, "Is a reserved word: TRUE", "TRUE は予約語です", 1},
        Rejected{"DimOfABadName", {u"DIM A B"}, "variable name which is not right: A B", "正しくない変数名です: A B", 1},
        Rejected{"DimWithoutValue", {u"DIM A ="}, "SyntaxError-71", "", 1},
        Rejected{"DimOfAnArrayWithoutSize", {u"DIM A[ ]"}, "SyntaxError-70", "", 1},
        Rejected{"DimValue", {u"DIM A = X"}, "It isn't defined: X", kUndefinedX, 1},
        Rejected{"DimBound", {u"DIM A[X]"}, "It isn't defined: X", kUndefinedX, 1},
        Rejected{"HashTableWithBrackets", {u"HASHTBL H[1]"}, "SyntaxError-73", "", 1},
        Rejected{"HashTableOverALocal", {u"H = 1", u"HASHTBL H"},
                 "It has already been defined: H", "変数: H は既に定義されています", 2},
        // Calls of user functions.
        Rejected{"TooFewArguments", {u"F(1)", u"PROCEDURE F(A, B)", u"FEND"},
                 "The number of the argument isn't suitable: F", "関数: F 引数の数が合いません", 1},
        Rejected{"TooManyArgumentsWithDefaults", {u"X = F(1, 2, 3)", u"FUNCTION F(A, B = 2)", u"RESULT = A", u"FEND"},
                 "The number of the argument isn't suitable: F", "関数: F 引数の数が合いません", 1},
        Rejected{"FewerThanTheFirstDefault", {u"X = F()", u"FUNCTION F(A, B = 2)", u"RESULT = A", u"FEND"},
                 "The number of the argument isn't suitable: F", "関数: F 引数の数が合いません", 1},
        Rejected{"ModuleFunctionNamedQualified", {u"M.F()", u"MODULE M", u"PROCEDURE F(A)", u"FEND", u"ENDMODULE"},
                 "The number of the argument isn't suitable: M.F", "関数: M.F 引数の数が合いません", 1},
        Rejected{"MainPartCalled", {u"__MAIN__(1)"}, "Don't call __MAIN__", "", 1},
        Rejected{"EmptyArgument", {u"F(1, , 3)", u"PROCEDURE F(A, B = 2, C = 3)", u"FEND"}, "SyntaxError-110", "", 1},
        Rejected{"ArrayArgumentWithEmptyBrackets", {u"DIM A[2]", u"F(A[])", u"PROCEDURE F(X[])", u"FEND"},
                 "SyntaxError-111", "", 2},
        Rejected{"ArrayArgumentThatIsNoArray", {u"F(\"x\")", u"PROCEDURE F(X[])", u"FEND"}, "SyntaxError-112", "", 1},
        Rejected{"HashTableForATwoDimensionalParameter", {u"PUBLIC HASHTBL G", u"F(G)", u"PROCEDURE F(X[][])", u"FEND"},
                 "SyntaxError-112", "", 2},
        // Errors of a called function's header are shown at the header.
        Rejected{"VarParameterWithDefault", {u"F()", u"PROCEDURE F(VAR A = 1)", u"FEND"}, "SyntaxError-120", "", 2},
        Rejected{"PlainParameterAfterADefault", {u"F(1, 2)", u"PROCEDURE F(A = 1, B)", u"FEND"},
                 "SyntaxError-121", "", 2},
        Rejected{"DefaultReadsAnUndefinedName", {u"F()", u"PROCEDURE F(A = X)", u"FEND"},
                 "It isn't defined: X", kUndefinedX, 2},
        Rejected{"HeaderListNotClosed", {u"PROCEDURE F(A", u"FEND"}, "SyntaxError-125", "", 1},
        Rejected{"HeaderListWithAnEmptyItem", {u"PROCEDURE F(A,,B)", u"FEND"}, "SyntaxError-126", "", 1},
        Rejected{"HeaderListEndingWithAComma", {u"PROCEDURE F(A,)", u"FEND"}, "SyntaxError-126", "", 1},
        // Names that are no function.
        Rejected{"UnknownFunction", {u"X = 1", u"PRINT X", u"X = NOPE(2) + 1"},
                 "It is not here: NOPE", "関数: NOPE がありません", 3},
        Rejected{"UnknownNameAsAStatement", {u"NOPE"}, "SyntaxError-113", "", 1},
        Rejected{"UnknownThreadFunction", {u"THREAD NOPE()"}, "It is not here: NOPE", "関数: NOPE がありません", 1},
        Rejected{"ThreadOfABuiltin", {u"ID = THREAD SLEEP(1)"}, "It is not here: SLEEP", "関数: SLEEP がありません", 1},
        // Builtins.
        Rejected{"BuiltinArgumentLacking", {u"X = COPY(\"abc\")"}, "Argument is lacking:COPY", "COPY：引数が足りません", 1},
        Rejected{"BuiltinWithoutArguments", {u"X = GETID()"}, "Argument is lacking:GETID", "GETID：引数が足りません", 1},
        Rejected{"BuiltinArgument", {u"X = COPY(S, 1)"}, "It isn't defined: S", "変数: S が定義されていません", 1},
        Rejected{"RawBuiltinArgument", {u"X = LENGTH(ARR)"}, "It isn't defined: ARR", "変数: ARR が定義されていません", 1},
        Rejected{"TokenIntoAConstant", {u"CONST C = \"a,b\"", u"X = TOKEN(\",\", C)"},
                 "Constant cannot be used:C", "C:定数は使えません", 2},
        Rejected{"TokenIntoAReservedWord", {u"X = TOKEN(\",\", CLOSE)"},
                 "Is a reserved word: CLOSE", "CLOSE は予約語です", 1},
        // Build errors: the first error-marker line of a body, and one outside every body.
        Rejected{"BuildErrorInAFunctionBody", {u"F()", u"PROCEDURE F()", u"FOR I = 1 TO 2", u"NEXT I", u"FEND"},
                 "Must describe nothing to NEXT", "", 3},
        Rejected{"BuildErrorAtModuleLevel", {u"MODULE M", u"X = 1", u"ENDMODULE"}, "SyntaxError-40", "", 2},
        Rejected{"BuildErrorAfterTheLastFend", {u"PRINT 1", u"PROCEDURE F()", u"FEND", u"NEXT"},
                 "No corresponding FOR", "", 4},
        Rejected{"FunctionWithoutFend", {u"PRINT 1", u"FUNCTION F()", u"RESULT = 1"},
                 "FEND There is no sentence: F", "関数: F の FEND 文がありません", 2}),
    [](const ::testing::TestParamInfo<Rejected>& info) { return std::string(info.param.name); });

struct Accepted {
  const char* name;
  Lines script;
};

class CheckAccepts : public CheckTest, public ::testing::WithParamInterface<Accepted> {};

TEST_P(CheckAccepts, TheWholeScript) {
  const auto failure = check(GetParam().script);
  EXPECT_FALSE(failure.has_value()) << utf16ToUtf8(failure->message.english) << " at line "
                                    << (failure ? sourceNumber(*failure) : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, CheckAccepts,
    ::testing::Values(
        Accepted{"AssignmentDeclaresWithoutOptionExplicit", {u"X = 1", u"PRINT X"}},
        Accepted{"OptionExplicitWithDim", {u"OPTION EXPLICIT", u"DIM X, I", u"X = 1", u"FOR I = 1 TO X", u"NEXT"}},
        Accepted{"ComparisonWithAText", {u"A = 1", u"IFB A = \"x\"", u"ENDIF"}},
        Accepted{"SelectOnATextAndEmpty",
                 {u"S = 1", u"SELECT S + \"x\"", u"CASE \"1x\", EMPTY", u"SELEND", u"SELECT \"abc\"", u"SELEND"}},
        Accepted{"NumericTextsAndBooleansAsConditions",
                 {u"IFB \"0\"", u"ENDIF", u"WHILE FALSE", u"WEND", u"IFB EMPTY", u"ENDIF", u"FOR I = \"1\" TO 2.5",
                  u"NEXT"}},
        Accepted{"ModuleMembersInsideTheirModule",
                 {u"PRINT M.F()", u"MODULE M", u"DIM X = 1", u"HASHTBL H", u"FUNCTION F()", u"H[1] = X",
                  u"RESULT = THIS.X + M.X + H[1]", u"WITH THIS", u"RESULT = .X + .G()", u"ENDWITH", u"FEND",
                  u"FUNCTION G()", u"RESULT = 1", u"FEND", u"ENDMODULE"}},
        Accepted{"PublicModuleVariablesFromOutside",
                 {u"PRINT M.P", u"M.P = 2", u"MODULE M", u"PUBLIC P = 1", u"ENDMODULE"}},
        Accepted{"GlobalQualifiedNamesInAModule",
                 {u"PUBLIC S = 1", u"FUNCTION F()", u"RESULT = 1", u"FEND", u"MODULE C", u"DIM S = 2", u"PROCEDURE C",
                  u"GLOBAL.S = GLOBAL.S + S + GLOBAL.F() + GLOBAL.LENGTH(\"x\") + F()", u"FEND", u"FUNCTION F()",
                  u"RESULT = 2", u"FEND", u"ENDMODULE"}},
        Accepted{"NestedLoopsWithCounts",
                 {u"FOR I = 1 TO 2", u"WHILE TRUE", u"REPEAT", u"BREAK 3", u"CONTINUE 2", u"BREAK", u"UNTIL TRUE",
                  u"WEND", u"NEXT"}},
        Accepted{"ForInDeclaresItsVariable", {u"FOR X IN SPLIT(\"a,b\", \",\")", u"PRINT X", u"NEXT"}},
        Accepted{"DefaultsAndVarParameters",
                 {u"F(1)", u"F(1, 2)", u"B = 1", u"G(B)", u"PROCEDURE F(A, B = A + 1)", u"FEND", u"PROCEDURE G(VAR X)",
                  u"X = 2", u"FEND"}},
        // Parameters split at top-level commas only: a default may call with several arguments.
        Accepted{"DefaultCallingWithSeveralArguments", {u"F(1)", u"PROCEDURE F(A, B = COPY(\"abc\", 1, A))", u"FEND"}},
        Accepted{"DefaultCallingItsOwnFunction", {u"X = F()", u"FUNCTION F(A = F(1))", u"RESULT = A", u"FEND"}},
        Accepted{"ArrayParameters",
                 {u"DIM A[1]", u"A[0] = SPLIT(\"a\", \",\")", u"HASHTBL L", u"PUBLIC HASHTBL G", u"F(A)", u"F(A[0])",
                  u"F(L)", u"F(G)", u"F(SPLIT(\"a\", \",\"))", u"F(GETDIR_FILES)", u"F(PARAM_STR)", u"PROCEDURE F(X[])",
                  u"FEND"}},
        Accepted{"HashTables",
                 {u"HASHTBL H = HASH_SORT", u"H[\"k\"] = 1", u"PRINT H[\"k\", HASH_EXISTS]", u"H = HASH_REMOVEALL"}},
        Accepted{"BuiltinConstantsAndSpecialNames",
                 {u"PRINT GET_CUR_DIR + G_TIME_YY2 + TRY_ERRMSG + TRY_ERRLINE + EMPTYPARAM + HASH_SORT",
                  u"PRINT COM_ERR_FLG + G_IMG_X + G_MOUSE_X + ALL_WIN_ID[0] + (NULL = NOTHING)",
                  u"IFB GET_ACTIVE_WIN = \"x\"", u"ENDIF"}},
        Accepted{"BuiltinArguments",
                 {u"S = \"a,b\"", u"X = TOKEN(\",\", S)", u"Y = TOKEN(\",\", RESULT)", u"Z = LENGTH(\"abc\")",
                  u"SCKEY(0, A, B)", u"PRINT INT(1.5, 2, 3, NEVER_EVALUATED)", u"X = EVAL(\"NOT + CHECKED\")"}},
        Accepted{"ComMembers",
                 {u"OBJ = 1", u"OBJ.VISIBLE = TRUE", u"PRINT OBJ.ITEMS(1).NAME + OBJ.LIST[2]", u"OBJ.RUN(1, MODE := 2)",
                  u"WITH OBJ", u".RUN()", u"PRINT .NAME", u".VALUE = 3", u"ENDWITH",
                  u"PRINT F(1).NAME + CREATEOLEOBJ(\"X.Y\").ITEMS(2).NAME", u"FUNCTION F(A)", u"RESULT = A",
                  u"FEND"}},
        Accepted{"DllFunction",
                 {u"DEF_DLL MessageBoxW(hwnd, wstring, wstring, uint): int: user32", u"MessageBoxW(0, \"a\", \"b\", 0)",
                  u"X = MessageBoxW(0, \"a\", \"b\", 0)"}},
        Accepted{"ThreadsOfUserFunctions", {u"THREAD F(1)", u"ID = THREAD F(2)", u"PROCEDURE F(N)", u"FEND"}},
        Accepted{"ExitAndExitExit", {u"F()", u"EXITEXIT 3", u"PROCEDURE F()", u"EXIT", u"FEND"}},
        Accepted{
            "DimForms",
            {u"DIM A[2] = 1, 2, 3", u"DIM B[] = \"x\", \"y\"", u"DIM S = 5, T", u"DIM M[1][1]", u"N = 3", u"DIM V[N]"}},
        Accepted{"HandlerLocals", {u"PROCEDURE ON_EVENT()", u"PRINT EVENT_ID + EVENT_PRM[0] + HOTKEY_VK", u"FEND"}},
        Accepted{"CheckModeArithmetic",
                 {u"A = 1", u"PRINT A / 0 + A MOD 0 + -A", u"PRINT F()[0]", u"FUNCTION F()",
                  u"RESULT = SPLIT(\"a\", \",\")", u"FEND"}},
        // NULL and NOTHING read as 1 like every name; failing literal arithmetic waits for the run.
        Accepted{"NullAndNothingInArithmetic", {u"PRINT NULL AND 1", u"PRINT NOTHING + 1 - NULL * 2"}},
        Accepted{"LiteralArithmeticThatFails",
                 {u"PRINT 1E+308 * 10", u"PRINT \"1E+308\" * \"1E+308\"", u"PRINT \"abc\" * 2 + -\"x\""}},
        Accepted{"SingleLineIfAndEmptyParts", {u"IF TRUE THEN PRINT 1 ELSE PRINT 2", u"IF FALSE THEN X = 1"}},
        Accepted{"TryBlocksAndComErrors",
                 {u"TRY", u"COM_ERR_IGN", u"X = 1", u"COM_ERR_RET", u"EXCEPT", u"PRINT TRY_ERRMSG", u"ENDTRY", u"TRY",
                  u"FINALLY", u"ENDTRY"}}),
    [](const ::testing::TestParamInfo<Accepted>& info) { return std::string(info.param.name); });

class CheckLeavesNoTrace : public CheckTest {};

// The pass declares what it sees in its own frame only: the globals, the
// per-thread compiled lines and the compile cache are as the build left them.
TEST_F(CheckLeavesNoTrace, GlobalsCachesAndOutputStayAsBuilt) {
  build({u"PUBLIC G = 5", u"PUBLIC HASHTBL T", u"G = 7", u"T[1] = 2", u"L = EVAL(\"G = 9\")", u"DIM D = 1",
         u"HASHTBL H", u"PRINT F(G)", u"FUNCTION F(A)", u"G = A", u"RESULT = A", u"FEND"});
  const size_t compiledByTheBuild = engine.compileCache.size();
  ASSERT_FALSE(checkBuilt().has_value());
  const THensuFmt& globals = engine.store.GlobalScope;
  EXPECT_EQ(globals.locals.count(), 1);
  EXPECT_EQ(globals.locals.slot(globals.locals.find(u"G")).values[0].toText(), u"5");
  ASSERT_EQ(globals.hashTables.count(), 1);
  EXPECT_EQ(globals.hashTables.table(0).count(), 0u);
  for (const TMainTrd& thread : engine.TrdTable) EXPECT_TRUE(thread.lines.empty());
  EXPECT_EQ(engine.compileCache.size(), compiledByTheBuild);
  EXPECT_TRUE(ui.printed().empty());
}

// A second check of the same program finds the same first error: nothing a
// first walk declared carries over into the next.
TEST_F(CheckLeavesNoTrace, EveryFunctionStartsWithAnEmptyFrame) {
  const auto failure =
      check({u"A = 1", u"F()", u"G()", u"PROCEDURE F()", u"B = 2", u"FEND", u"PROCEDURE G()", u"PRINT A + B", u"FEND"});
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(utf16ToUtf8(failure->message.english), "It isn't defined: A");
  EXPECT_EQ(sourceNumber(*failure), 8);
  EXPECT_EQ(sourceText(*failure), u"PRINT A + B");
}

}  // namespace
}  // namespace maqo::engine::check_test
