// The error reporter: what an uncaught error shows and logs, when nothing is
// shown, ConfirmAbort's three outcomes, and the location text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/errors/error_reporter.h"
#include "engine/errors/location_text.h"
#include "tests/unit/engine/builder/builder_test_support.h"

namespace maqo::engine {
namespace {

class FakeTarget final : public ReportTarget {
 public:
  bool japanese() override { return japaneseSystem; }
  bool stopRequested() override { return stopping; }
  bool aborted() override { return abortFlag; }
  void abortRun() override { abortFlag = true; }
  void showError(const std::u16string& text) override { shown.push_back(utf16ToUtf8(text)); }
  void showMessage(const std::u16string& text) override { messages.push_back(utf16ToUtf8(text)); }
  bool askYesNo(const std::u16string& question) override {
    questions.push_back(utf16ToUtf8(question));
    return answerYes;
  }
  void appendToScriptLog(const std::u16string& line) override { log.push_back(utf16ToUtf8(line)); }
  void settleBeforeMessage() override { ++settles; }
  void noteErrorExit() override { ++errorExits; }

  bool japaneseSystem = false, stopping = false, abortFlag = false, answerYes = true;
  std::vector<std::string> shown, messages, questions, log;
  int settles = 0, errorExits = 0;
};

TEST(ExecReporter, ShowsMessageAndLocationLogsItAndEndsTheRun) {
  FakeTarget target;
  ReportScriptError(target, Message{u"  It isn't defined: X  ", u"変数: X が定義されていません"}, u"at line 3: PRINT X");
  ASSERT_EQ(target.shown.size(), 1u);
  EXPECT_EQ(target.shown[0], "It isn't defined: X\r\nat line 3: PRINT X");
  EXPECT_EQ(target.log, std::vector<std::string>{"It isn't defined: X  at line 3: PRINT X"});
  EXPECT_TRUE(target.abortFlag);
  EXPECT_EQ(target.errorExits, 1);
  EXPECT_EQ(target.settles, 1);
}

TEST(ExecReporter, JapaneseSystemShowsTheJapaneseMessage) {
  FakeTarget target;
  target.japaneseSystem = true;
  ReportScriptError(target, Message{u"It isn't defined: X", u"変数: X が定義されていません"}, u"3行目: PRINT X");
  ASSERT_EQ(target.shown.size(), 1u);
  EXPECT_EQ(target.shown[0], "変数: X が定義されていません\r\n3行目: PRINT X");
}

TEST(ExecReporter, NothingIsShownWhileStoppingOrOnceAborted) {
  FakeTarget stopping;
  stopping.stopping = true;
  ReportScriptError(stopping, Message{u"late error", {}}, u"at line 1: X", true);
  EXPECT_TRUE(stopping.shown.empty());
  EXPECT_FALSE(stopping.abortFlag);

  FakeTarget aborted;
  aborted.abortFlag = true;
  ReportScriptError(aborted, Message{u"second error", {}}, u"at line 1: X");
  EXPECT_TRUE(aborted.shown.empty());
  ReportScriptError(aborted, Message{u"forced error", {}}, u"at line 1: X", true);
  EXPECT_EQ(aborted.shown.size(), 1u);
}

TEST(ExecReporter, SyntaxErrorNumberIsHiddenFromTheUserButLogged) {
  FakeTarget target;
  ReportScriptError(target, Message{u"SyntaxError-25", {}}, u"at line 2: NO_SUCH()");
  ASSERT_EQ(target.shown.size(), 1u);
  EXPECT_EQ(target.shown[0], "SyntaxError   \r\nat line 2: NO_SUCH()");
  EXPECT_EQ(target.log[0], "SyntaxError-25  at line 2: NO_SUCH()");
}

TEST(ExecReporter, HideSyntaxErrorNumberCases) {
  const struct {
    const char16_t* display;
    const char* shown;
  } cases[] = {
      {u"SyntaxError-25\r\nat line 1: X", "SyntaxError   \r\nat line 1: X"},
      {u"syntaxerror-7", "syntaxerror"},           // found in any case; the trailing spaces are trimmed
      {u"SyntaxError-1234", "SyntaxError    4"},    // at most three digits
      {u"SyntaxError:FUNCTION F(A)", "SyntaxError:FUNCTION F(A)"},
      {u"no code here", "no code here"},
  };
  for (const auto& c : cases) EXPECT_EQ(utf16ToUtf8(HideSyntaxErrorNumber(c.display)), c.shown);
}

TEST(ExecReporter, LongMessagesAreCutForDisplay) {
  const std::u16string message(300, u'x');
  const std::u16string display = ErrorDisplayText(message, u"at line 1: Y");
  EXPECT_EQ(display, std::u16string(255, u'x') + u" ...\r\n\r\nat line 1: Y");
  EXPECT_EQ(ErrorDisplayText(std::u16string(255, u'x'), u"L"), std::u16string(255, u'x') + u"\r\nL");
}

TEST(ExecReporter, ConfirmAbortOutcomes) {
  {
    FakeTarget target;  // a TRY waits: the failure becomes a catchable error
    try {
      ConfirmAbort(target, Message{u"cannot save", {}}, true);
      FAIL() << "no error thrown";
    } catch (const ScriptError& error) {
      EXPECT_TRUE(error.catchable());
      EXPECT_EQ(error.message().english, u"cannot save");
    }
    EXPECT_TRUE(target.questions.empty());
  }
  {
    FakeTarget target;  // "No": the script goes on
    target.answerYes = false;
    EXPECT_FALSE(ConfirmAbort(target, Message{u"cannot save", {}}, false));
    EXPECT_FALSE(target.abortFlag);
    EXPECT_EQ(target.questions, std::vector<std::string>{"cannot save\r\nDo you want to abort?"});
  }
  {
    FakeTarget target;  // "Yes": the run stops
    target.japaneseSystem = true;
    EXPECT_TRUE(ConfirmAbort(target, Message{u"cannot save", u"保存できません"}, false));
    EXPECT_TRUE(target.abortFlag);
    EXPECT_EQ(target.questions, std::vector<std::string>{"保存できません\r\n中断しますか？"});
  }
  {
    FakeTarget target;  // stopping: nothing is asked
    target.stopping = true;
    EXPECT_FALSE(ConfirmAbort(target, Message{u"cannot save", {}}, true));
    EXPECT_TRUE(target.questions.empty());
  }
}

// ---- location text ----

class ExecLocation : public builder_test::BuilderTest {};

TEST_F(ExecLocation, MainScriptLinesCarryNoFileName) {
  build({u"PROCEDURE __MAIN__()", u"A = 1", u"PRINT <#_CR>B", u"FEND", u"FUNCTION F()", u"RESULT = C", u"FEND"});
  EXPECT_EQ(LocationText(program, 0, 2, false), u"at line 2: PRINT <#CR>B");
  EXPECT_EQ(LocationText(program, 0, 2, true), u"2行目: PRINT <#CR>B");
  const int header = program.FuncEntries[static_cast<size_t>(program.FuncNames.indexOf(u"F"))].headerLine;
  EXPECT_EQ(ScriptFileOfFunction(program, header, false), u"");
}

TEST_F(ExecLocation, CalledFileLinesNameTheirFileAndTheirOwnLineNumbers) {
  build({u"PROCEDURE __MAIN__()", u"CALL C:\\S\\LIB\\A.MQS", u"FEND", u"PROCEDURE C:\\S\\LIB\\A.MQS()", u"X = 1",
         u"Y = 2", u"FEND", u"FUNCTION G()", u"RESULT = 3", u"FEND"});
  const int fileHeader = 3;
  EXPECT_EQ(LocationText(program, fileHeader, 5, false), u"C:\\S\\LIB\\A.MQS: at line 2: Y = 2");
  EXPECT_EQ(LocationText(program, fileHeader, 5, true), u"C:\\S\\LIB\\A.MQS: 2行目: Y = 2");
  EXPECT_EQ(LocationText(program, fileHeader, 5, false, true), u"A.MQS: at line 2: Y = 2");
  // A function defined after the file's main part belongs to the file too.
  const int g = program.FuncEntries[static_cast<size_t>(program.FuncNames.indexOf(u"G"))].headerLine;
  EXPECT_EQ(ScriptFileOfFunction(program, g, false), u"C:\\S\\LIB\\A.MQS");
}

}  // namespace
}  // namespace maqo::engine
