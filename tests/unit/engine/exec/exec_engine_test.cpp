// The engine as a host drives it: outcomes and exit codes of a play, error
// reports, engine reuse, and the handler entry points.
#include <gtest/gtest.h>

#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::engine {
namespace {

using exec_test::EngineTest;
using Lines = std::vector<std::u16string>;

class ExecEngine : public EngineTest {};

TEST_F(ExecEngine, PlaysTheScriptAndCompletes) {
  EXPECT_EQ(play({u"A = 2", u"PRINT A * 21"}), PlayOutcome::Completed);
  EXPECT_EQ(ui.printed(), std::vector<std::string>{"42"});
  EXPECT_TRUE(ui.errors().empty());
  EXPECT_EQ(engine.ExitCode.load(), 0);
}

// The pre-run check rejects names it can see; EVAL hides them from it, so
// these cases reach the run-time error path.
TEST_F(ExecEngine, UncaughtErrorIsShownOnceWithTheScriptNameAndStopsTheRun) {
  engine.OneScriptRun = true;
  EXPECT_EQ(play({u"PRINT 1", u"PRINT EVAL(\"UNKNOWN_NAME\")", u"PRINT 2"}), PlayOutcome::ErrorStopped);
  EXPECT_EQ(ui.printed(), std::vector<std::string>{"1"});
  ASSERT_EQ(ui.errors().size(), 1u);
  EXPECT_EQ(ui.errors()[0], "It isn't defined: UNKNOWN_NAME\r\n" + utf16ToUtf8(engine.MainScriptName) +
                                ": at line 2: PRINT EVAL(\"UNKNOWN_NAME\")");
  EXPECT_EQ(engine.ExitCode.load(), 9);
}

TEST_F(ExecEngine, ErrorExitCodeOnlyForOneScriptRuns) {
  EXPECT_EQ(play({u"PRINT EVAL(\"UNKNOWN_NAME\")"}), PlayOutcome::ErrorStopped);
  EXPECT_EQ(engine.ExitCode.load(), 0);
}

TEST_F(ExecEngine, ScriptLogKeepsTheSyntaxErrorNumberTheDialogHides) {
  play({u"EVAL(\"NO_SUCH_FUNCTION()\")"});
  ASSERT_EQ(ui.errors().size(), 1u);
  EXPECT_EQ(ui.errors()[0].find("SyntaxError-25"), std::string::npos);
  ASSERT_EQ(engine.ScriptLogLines().size(), 1u);
  EXPECT_NE(utf16ToUtf8(engine.ScriptLogLines()[0]).find("SyntaxError-25  "), std::string::npos);
}

TEST_F(ExecEngine, BuildErrorsStopThePlayBeforeAnythingRuns) {
  engine.OneScriptRun = true;
  EXPECT_EQ(play({u"PRINT 1", u"FOR I = 1 TO 2", u"NEXT I"}), PlayOutcome::BuildFailed);
  EXPECT_TRUE(ui.printed().empty());
  ASSERT_EQ(ui.errors().size(), 1u);
  EXPECT_NE(ui.errors()[0].find("Must describe nothing to NEXT"), std::string::npos);
  EXPECT_EQ(engine.ExitCode.load(), 9);
}

TEST_F(ExecEngine, DirectBuildErrorIsReportedOnce) {
  EXPECT_EQ(play({u"PRINT 1", u"FUNCTION F()", u"FUNCTION G()", u"FEND", u"FEND"}), PlayOutcome::BuildFailed);
  EXPECT_TRUE(ui.printed().empty());
  EXPECT_EQ(ui.errors().size(), 1u);
}

TEST_F(ExecEngine, TheEngineIsReusedForTheNextPlay) {
  play({u"PUBLIC G = 1", u"G = G + 1", u"PRINT G"});
  play({u"PRINT 5", u"PRINT EVAL(\"G\")"});  // the previous program's globals are gone
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"2", "5"}));
  EXPECT_EQ(ui.errors().size(), 1u);
  EXPECT_EQ(engine.program.lineCount(), 0);  // EndRun emptied the program
}

TEST_F(ExecEngine, RepetitionsRestoreTheGlobalsAndEndAfterAnError) {
  EXPECT_EQ(play({u"PUBLIC N = 0", u"N = N + 1", u"PRINT N", u"IF PARAM_STR[0] = \"fail\" THEN X = EVAL(\"UNDEFINED\")"}, 3,
                 {u"fail"}),
            PlayOutcome::ErrorStopped);
  EXPECT_EQ(ui.printed(), std::vector<std::string>{"1"});  // the error ends repetition 1 and the play
}

TEST_F(ExecEngine, AbortAnswerOfConfirmAbortEndsTheRunWithoutAnErrorDialog) {
  int questions = 0;
  engine.AskYesNo = [&](const std::u16string&) {
    ++questions;
    return true;
  };
  ASSERT_TRUE(engine.BuildProgram({u"PROCEDURE __MAIN__()", u"FEND"}));
  engine.TrdTable[0].prepare(engine.program.lineCount());
  ExecFrame frame(engine.executor, engine.TrdTable[0], nullptr);
  EXPECT_TRUE(frame.builtinHost.confirmAbort(Message{u"file busy", {}}));
  EXPECT_EQ(questions, 1);
  EXPECT_TRUE(engine.AbortFlag.load());
  EXPECT_TRUE(ui.errors().empty());
  engine.EndRun();
}

TEST_F(ExecEngine, HandlerProceduresGetTheirLocals) {
  ASSERT_TRUE(engine.BuildProgram({u"PROCEDURE __MAIN__()", u"FEND", u"PROCEDURE ON_KEY()",
                                   u"PRINT HOTKEY_VK + \"/\" + HOTKEY_MOD", u"FEND", u"PROCEDURE ON_EVENT()",
                                   u"PRINT EVENT_ID + \":\" + EVENT_PRM[0]", u"EVENT_PRM[1] = \"changed\"", u"FEND"}));
  const auto header = [&](const char16_t* name) {
    return engine.program.FuncEntries[static_cast<size_t>(engine.program.FuncNames.indexOf(name))].headerLine;
  };
  engine.executor.CallHotkeyHandler(header(u"ON_KEY"), 65, 2);
  std::vector<ScriptValue> parameters{ScriptValue::string(u"first"), ScriptValue::string(u"second")};
  engine.executor.CallEventHandler(header(u"ON_EVENT"), 7, parameters);
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"65/2", "7:first"}));
  EXPECT_EQ(parameters[1].toText(), u"changed");
  engine.EndRun();
}

TEST_F(ExecEngine, ModuleConstructorsRunBeforeTheMainPartInSourceOrder) {
  play({u"PRINT \"main\"", u"MODULE ZED", u"PROCEDURE ZED", u"PRINT \"ZED\"", u"FEND", u"ENDMODULE", u"MODULE ALPHA",
        u"PROCEDURE ALPHA", u"PRINT \"ALPHA\"", u"FEND", u"ENDMODULE"});
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"ZED", "ALPHA", "main"}));
}

class ExecEngineJapanese : public EngineTest {
 protected:
  ExecEngineJapanese() : EngineTest(0x0411) {}
};

TEST_F(ExecEngineJapanese, MessagesAndLocationsAreJapanese) {
  play({u"TRY", u"PRINT EVAL(\"X\")", u"EXCEPT", u"PRINT TRY_ERRMSG", u"PRINT TRY_ERRLINE", u"ENDTRY"});
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"変数: X が定義されていません", "2行目: PRINT EVAL(\"X\")"}));
}

}  // namespace
}  // namespace maqo::engine
