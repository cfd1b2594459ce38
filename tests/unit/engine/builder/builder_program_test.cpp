// The first build pass: statements, functions, modules, text blocks,
// declarations, DEF_DLL, source references and the errors reported directly.
#include <gtest/gtest.h>

#include "engine/builder/build_time_evaluator.h"
#include "platform/platform.h"
#include "tests/unit/engine/builder/builder_test_support.h"

namespace maqo::engine::builder_test {
namespace {

struct LineErrorCase {
  const char* name;
  Source lines;  // the whole reader output
  int line;      // program line of the first error
  const char* message;
};

class BuilderLineErrors : public BuilderTest, public ::testing::WithParamInterface<LineErrorCase> {};

TEST_P(BuilderLineErrors, MarksTheLine) {
  build(GetParam().lines);
  EXPECT_EQ(program.firstErrorLine(), GetParam().line);
  EXPECT_EQ(firstError(), GetParam().message);
  EXPECT_EQ(directErrors(), std::vector<std::string>{});
}

const Source kModuleStart = {u"PROCEDURE __MAIN__()", u"FEND", u"MODULE M 0"};
Source inModule(Source lines) {
  Source all = kModuleStart;
  all.insert(all.end(), lines.begin(), lines.end());
  all.push_back(u"ENDMODULE");
  return all;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuilderLineErrors,
    ::testing::Values(
        LineErrorCase{"SemicolonInsideOneLineIf", mainPart({u"IF X THEN A = 1; B = 2"}), 1,
                      "The multi-declaration of the IF line is NG"},
        LineErrorCase{"ElseWithoutThen", mainPart({u"IF X ELSE B = 1"}), 1, "THEN: SyntaxError"},
        LineErrorCase{"NestedOneLineIf", mainPart({u"IF A THEN IF B THEN C"}), 1, "SyntaxError-85"},
        LineErrorCase{"UnpairedParenthesesBeforeMember", mainPart({u"X = A(1)).B"}), 1, "SyntaxError-45"},
        LineErrorCase{"FunctionWithoutResult", {u"PROCEDURE __MAIN__()", u"FEND", u"FUNCTION F()", u"A = 1",
                                                u"FEND"},
                      4, "It doesn't have RESULT: F"},
        LineErrorCase{"ResultInProcedure", {u"PROCEDURE __MAIN__()", u"FEND", u"PROCEDURE P()", u"RESULT = 1",
                                            u"FEND"},
                      3, "There is RESULT: P"},
        LineErrorCase{"ResultInTheMainPart", mainPart({u"RESULT=1"}), 1, "There is RESULT: __MAIN__"},
        LineErrorCase{"ResultInOneLineIfOfProcedure", mainPart({u"IF A THEN RESULT = 1"}), 1,
                      "There is RESULT: __MAIN__"},
        LineErrorCase{"EndTextBlockWithText", mainPart({u"ENDTEXTBLOCK X"}), 1, "SyntaxError-30"},
        LineErrorCase{"EndTextBlockAlone", mainPart({u"ENDTEXTBLOCK"}), 1, "It doesn't pair with \"TEXTBLOCK\""},
        LineErrorCase{"TextBlockNameWithSpace", mainPart({u"TEXTBLOCK A B", u"ENDTEXTBLOCK"}), 1,
                      "SyntaxError-31"},
        LineErrorCase{"TextBlockLeftOpenMidLine", mainPart({u"TEXTBLOCK T; A = 1", u"ENDTEXTBLOCK"}), 2,
                      "SyntaxError-46"},
        LineErrorCase{"ProhibitedModuleName", {u"PROCEDURE __MAIN__()", u"FEND", u"MODULE THIS 0", u"ENDMODULE"}, 2,
                      "prohibition word: THIS"},
        LineErrorCase{"ModuleNameWithDot", {u"PROCEDURE __MAIN__()", u"FEND", u"MODULE A.B 0", u"ENDMODULE"}, 2,
                      "SyntaxError-32"},
        LineErrorCase{"ModuleTwice",
                      {u"PROCEDURE __MAIN__()", u"FEND", u"MODULE M 0", u"ENDMODULE", u"MODULE M 0", u"ENDMODULE"}, 4,
                      "It is multiplex definition"},
        LineErrorCase{"ModuleInsideModule", inModule({u"MODULE N 1", u"ENDMODULE"}), 3, "MODULE is multiplexing"},
        LineErrorCase{"EndModuleOutsideModule", {u"PROCEDURE __MAIN__()", u"FEND", u"ENDMODULE"}, 2,
                      "SyntaxError-35"},
        LineErrorCase{"StatementAtModuleLevel", inModule({u"X = 1"}), 3, "SyntaxError-40"},
        LineErrorCase{"OptionAtModuleLevel", inModule({u"OPTION EXPLICIT"}), 3, "SyntaxError-40"},
        LineErrorCase{"OneLineIfAtModuleLevel", inModule({u"IF A THEN B = 1"}), 3, "SyntaxError-40"},
        LineErrorCase{"BadHashTableName", inModule({u"HASHTBL A+B"}), 3, "SyntaxError-37"},
        LineErrorCase{"ConstRedefinedWithOtherValue", mainPart({u"CONST A = 1", u"CONST A = 1", u"CONST A = 2"}), 3,
                      "It is multiplex definition: A"},
        LineErrorCase{"ConstRedefinedWithOtherType", mainPart({u"CONST A = 1", u"CONST A = \"1\""}), 2,
                      "It is multiplex definition: A"},
        LineErrorCase{"PublicReservedWord", mainPart({u"PUBLIC TRUE"}), 1, "Is a reserved word: TRUE"},
        LineErrorCase{"UnknownDllType", mainPart({u"DEF_DLL F(int, foo):int:x.dll"}), 1, "DEF_DLL:SyntaxError:foo"},
        LineErrorCase{"VarCharIsNoType", mainPart({u"DEF_DLL F(var char):x.dll"}), 1,
                      "DEF_DLL:SyntaxError:var char"},
        LineErrorCase{"StringArray", mainPart({u"DEF_DLL F(string[ ]):x.dll"}), 1, "string[] cannot specify the array"},
        LineErrorCase{"UnknownOption", mainPart({u"OPTION EXPLICIT, NOSUCH"}), 1, "OPTION:SyntaxError"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BuilderTest, StatementsOfOneLineShareTheSourceReference) {
  buildMain({u"A = 1; B = 2"});
  ASSERT_EQ(body(), (std::vector<std::string>{"0 A = 1", "0 B = 2"}));
  for (int q : {1, 2}) {
    EXPECT_EQ(program.sourceRef(q).number, 1);
    EXPECT_EQ(program.sourceRef(q).text, u"A = 1; B = 2");
  }
  EXPECT_EQ(program.sourceRefText(1), u"1,A = 1; B = 2");
  EXPECT_NE(program.SourceRefs[1], u"1,A = 1; B = 2") << "kept scrambled";
}

TEST_F(BuilderTest, SourceLinesCarryTheirOwnFileLineNumbers) {
  build({u"PROCEDURE __MAIN__()", u"A = 1", u"FEND", u"FUNCTION F()", u"RESULT = 1", u"FEND",
         u"PROCEDURE C:\\X\\SUB.MQS()", u"B = 2", u"FEND", u"PROCEDURE G()", u"FEND"});
  const int expected[] = {0, 1, 1, 2, 3, 4, 0, 1, 1, 2, 3};
  for (int q = 0; q < 11; ++q) EXPECT_EQ(program.sourceRef(q).number, expected[q]) << q;
}

TEST_F(BuilderTest, SourceLineRewrites) {
  buildMain({u"A.ITEMS(1).NAME = 2", u"X = F(G(1)).Y(2).Z", u"P = \").\" + Q(1).R", u"S = \"<#cr>\" + T<#Tab>",
             u"U = \"<#DBL><#_CR>\""});
  EXPECT_EQ(body(), (std::vector<std::string>{"0 A.ITEMS[1].NAME = 2", "0 X = F[G(1)].Y[2].Z",
                                              "0 P = \").\" + Q[1].R", "0 S = \"<#_CR>\" + T<#_TAB>",
                                              "0 U = \"<#_DBL><#_CR>\""}));
}

TEST_F(BuilderTest, FunctionsAreRegisteredWithKindAndHeader) {
  build({u"PROCEDURE __MAIN__()", u"FEND", u"FUNCTION F(A, B)", u"IF A THEN RESULT = B", u"FEND", u"PROCEDURE P()",
         u"PRINT \"no RESULT here\"", u"IF X THEN PRINT \"the RESULT\"", u"FEND"});
  EXPECT_EQ(program.firstErrorLine(), -1) << firstError();
  ASSERT_EQ(program.FuncNames.count(), 3);
  const int f = program.FuncNames.indexOf(u"F");
  ASSERT_GE(f, 0);
  EXPECT_EQ(program.FuncEntries[static_cast<size_t>(f)].kind, FunctionKind::Function);
  EXPECT_EQ(program.FuncEntries[static_cast<size_t>(f)].headerLine, 2);
  EXPECT_EQ(program.ScriptLines[2], u"FUNCTION F(A, B)");
  EXPECT_EQ(program.FuncEntries[static_cast<size_t>(program.FuncNames.indexOf(u"P"))].kind, FunctionKind::Procedure);
  EXPECT_EQ(program.FuncEntries[0].headerLine, 0);
}

TEST_F(BuilderTest, DirectErrorsAreReportedAndStopTheRun) {
  struct Case {
    Source lines;
    std::vector<std::string> errors;
  };
  const Case cases[] = {
      {{u"PROCEDURE __MAIN__()", u"FEND", u"FUNCTION F()", u"FUNCTION G()", u"FEND"},
       {"Function/Procedure is nest or not closed: F"}},
      {{u"PROCEDURE __MAIN__()", u"FEND", u"PROCEDURE F()", u"FEND", u"PROCEDURE F()", u"FEND"},
       {"It is multiplex definition: F"}},
      {{u"PROCEDURE __MAIN__()", u"FEND", u"PROCEDURE A+B()", u"FEND"}, {"SyntaxError-36:A+B"}},
      {{u"PROCEDURE __MAIN__()", u"FEND", u"MODULE M 0", u"PROCEDURE F()", u"FEND"},
       {"ENDMODULE(ENDCLASS) is not defined: MODULE(CLASS)M"}},
      {mainPart({u"TEXTBLOCK T", u"text"}), {"ENDTEXTBLOCK is not defined"}},
  };
  for (const auto& c : cases) {
    build(c.lines);
    EXPECT_EQ(directErrors(), c.errors);
    EXPECT_TRUE(program.DirectErrorReported);
  }
  buildMain({u"A = 1"});
  EXPECT_FALSE(program.DirectErrorReported);
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(BuilderTest, ModulesQualifyTheirMembers) {
  build({u"PROCEDURE __MAIN__()", u"FEND", u"MODULE M 3", u"DIM X = 1", u"PUBLIC Y", u"CONST C = 5",
         u"HASHTBL H", u"PROCEDURE F()", u"FEND", u"ENDMODULE", u"CLASS N 4", u"ENDCLASS"});
  EXPECT_EQ(program.firstErrorLine(), -1) << firstError();
  EXPECT_EQ(store.ModuleNames.find(u"M"), 3);
  EXPECT_EQ(store.ModuleNames.find(u"N"), 4);
  EXPECT_GE(program.FuncNames.indexOf(u"M.F"), 0);
  EXPECT_EQ(program.FuncEntries[static_cast<size_t>(program.FuncNames.indexOf(u"M.F"))].module, u"M");
  const int x = store.GlobalScope.locals.find(u"M.X");
  ASSERT_GE(x, 0);
  EXPECT_TRUE(store.GlobalVariablePrivate[static_cast<size_t>(x)]);
  EXPECT_FALSE(store.GlobalVariablePrivate[static_cast<size_t>(store.GlobalScope.locals.find(u"M.Y"))]);
  EXPECT_TRUE(store.ConstNames.contains(u"M.C"));
  EXPECT_GE(store.GlobalScope.hashTables.find(u"M.H"), 0);
  EXPECT_EQ(store.GlobalScope.moduleName, u"") << "the build leaves no module behind";
  for (int q = 2; q <= 6; ++q) EXPECT_EQ(program.ScriptLines[static_cast<size_t>(q)], u"") << q;
}

TEST_F(BuilderTest, ModuleLevelErrorsGetAnEntryThatLeadsToThem) {
  build(inModule({u"PROCEDURE F()", u"FEND", u"X = 1"}));
  const int entry = program.FuncNames.indexOf(u"CLASS M");
  ASSERT_GE(entry, 0);
  EXPECT_EQ(program.FuncEntries[static_cast<size_t>(entry)].headerLine, 4);
  EXPECT_EQ(program.firstErrorLine(), 5);
}

TEST_F(BuilderTest, ConstructorTakesNoParameters) {
  build({u"PROCEDURE __MAIN__()", u"FEND", u"MODULE M 0", u"PROCEDURE M(A)", u"FEND", u"ENDMODULE"});
  EXPECT_EQ(directErrors(), std::vector<std::string>{"Argument is not put on the constructor function"});
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0].lineText, u"PROCEDURE M(A)");

  build({u"PROCEDURE __MAIN__()", u"FEND", u"MODULE M 0", u"PROCEDURE M( )", u"FEND", u"ENDMODULE"});
  EXPECT_TRUE(host.errors.empty());
  // Only checked in a program without line errors.
  build({u"PROCEDURE __MAIN__()", u"ENDIF", u"FEND", u"MODULE M 0", u"PROCEDURE M(A)", u"FEND", u"ENDMODULE"});
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(BuilderTest, TextBlocks) {
  buildMain({u"TEXTBLOCK T", u"line one", u"  Line // two", u"", u"ENDTEXTBLOCK", u"TEXTBLOCK", u"X = 1",
             u"ENDTEXTBLOCK; B = 2"});
  EXPECT_EQ(program.firstErrorLine(), -1) << firstError();
  const int t = store.TextBlockNames.indexOf(u"T");
  ASSERT_GE(t, 0);
  EXPECT_EQ(store.TextBlockTexts[static_cast<size_t>(t)], u"line one\r\n  Line // two\r\n");
  EXPECT_EQ(store.TextBlockNames.count(), 1) << "a block without a name is a comment";
  EXPECT_EQ(body(), (std::vector<std::string>{"0 ", "0 ", "0 ", "0 ", "0 ", "0 ", "0 ", "0 ", "0 B = 2"}));
}

TEST_F(BuilderTest, GlobalDeclarations) {
  buildMain({u"PUBLIC A = 1, B[2], C[] = 4, 5, 6", u"PUBLIC DIM D", u"PUBLIC HASHTBL H, H2", u"DIM L = 1"});
  EXPECT_EQ(program.firstErrorLine(), -1) << firstError();
  auto& globals = store.GlobalScope.locals;
  for (const char16_t* name : {u"A", u"B", u"C", u"D"}) EXPECT_GE(globals.find(name), 0) << utf16ToUtf8(name);
  EXPECT_EQ(globals.slot(globals.find(u"C")).values.size(), 3u);
  EXPECT_EQ(store.GetValue(store.GlobalScope, u"A").toDisplayText(), u"1");
  EXPECT_GE(store.GlobalScope.hashTables.find(u"H2"), 0);
  EXPECT_LT(globals.find(u"L"), 0) << "DIM inside a function is a statement";
  EXPECT_EQ(line(4), "34 L = 1");
}

TEST_F(BuilderTest, DefDllDeclarationsAreRegisteredOnce) {
  buildMain({u"DEF_DLL MessageBoxW(hwnd, wstring, wstring, uint): int: user32.dll",
             u"DEF_DLL GetCursorPos({long, long}, var int[ ]):bool:user32.dll",
             u"DEF_DLL MessageBoxW(hwnd):int:other.dll"});
  EXPECT_EQ(program.firstErrorLine(), -1) << firstError();
  ASSERT_EQ(store.DllNames.count(), 2);
  EXPECT_EQ(store.DllNames.indexOf(u"MESSAGEBOXW"), 0);
  ASSERT_EQ(program.DllDecls.size(), 2u);
  EXPECT_EQ(program.DllDecls[0], u"(hwnd, wstring, wstring, uint): int: user32.dll");
  EXPECT_EQ(program.DllDecls[1], u"({long, long}, var int[]):bool:user32.dll");
  EXPECT_EQ(line(1), "33 MessageBoxW(hwnd, wstring, wstring, uint): int: user32.dll");
}

TEST_F(BuilderTest, EveryBuildStartsFromNothing) {
  build({u"PROCEDURE __MAIN__()", u"OPTION EXPLICIT", u"CONST A = 1", u"PUBLIC G", u"FEND", u"MODULE M 0",
         u"ENDMODULE"});
  EXPECT_TRUE(program.Options.explicitVariables);
  buildMain({u"CONST A = 2"});
  EXPECT_EQ(program.firstErrorLine(), -1) << firstError();
  EXPECT_FALSE(program.Options.explicitVariables);
  EXPECT_EQ(store.ModuleNames.count(), 0);
  EXPECT_LT(store.GlobalScope.locals.find(u"G"), 0);
  EXPECT_EQ(program.FuncNames.count(), 1);
  EXPECT_EQ(host.resets, 2);
}

TEST(BuilderTimeEvaluator, EvaluatesConstantsAndRefusesCalls) {
  GlobalStore store;
  Program program;
  HeadlessBuildHost host;
  BuildTimeEvaluator evaluator(store, program.Options, platform::consolePlatform().locale);
  FReLoad(program, mainPart({u"CONST A = 2 * 3", u"CONST B = A + 1", u"PUBLIC P[] = B, \"x\"", u"CONST C = F(1)"}),
          BuildContext{store, host, false});
  EXPECT_EQ(program.firstErrorLine(), 4);
  EXPECT_EQ(program.ScriptLines[4],
            u"__MAQO_ERROR_ARI__A function cannot be called while the program is only built: F");
  EXPECT_EQ(store.GetValue(store.GlobalScope, u"B").toDisplayText(), u"7");
  const ScriptValue second = store.GetValue(store.GlobalScope, u"P", std::vector<ScriptValue>{ScriptValue::number(1)});
  EXPECT_EQ(second.toDisplayText(), u"x");
}

}  // namespace
}  // namespace maqo::engine::builder_test
