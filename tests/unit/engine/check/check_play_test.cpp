// The check pass as part of a play: a rejected script does not start, its
// error is shown with the offending line, the exit code of a command-line run
// is 9, no builtin runs while checking, and the pass runs only when a file of
// the script changed since the last play that passed it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::engine {
namespace {

namespace fs = std::filesystem;
using exec_test::EngineTest;

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("maqo-check-" + std::to_string(random()));
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  fs::path write(const std::string& name, const std::string& text) const {
    const fs::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

 private:
  fs::path path_;
};

class CheckPlays : public EngineTest {
 protected:
  PlayOutcome playFile(const fs::path& script) {
    PlayRequest request;
    request.scriptPath = script.u16string();
    return engine.pplay(request);
  }
  std::string shown(const std::string& message, int line, const std::string& text) {
    return message + "\r\n" + utf16ToUtf8(engine.MainScriptName) + ": at line " + std::to_string(line) + ": " + text;
  }
};

TEST_F(CheckPlays, RejectedScriptDoesNotStartAndExitsWithNine) {
  engine.OneScriptRun = true;
  EXPECT_EQ(play({u"PRINT \"x\"", u"OPTION EXPLICIT", u"X=1"}), PlayOutcome::BuildFailed);
  EXPECT_TRUE(ui.printed().empty());
  EXPECT_EQ(ui.errors(), std::vector<std::string>{shown("It isn't defined: X", 3, "X=1")});
  EXPECT_EQ(engine.ExitCode.load(), 9);
  EXPECT_EQ(engine.checkPassRuns, 1);
}

TEST_F(CheckPlays, BreakCountIsReportedBeforeAnythingRuns) {
  EXPECT_EQ(play({u"PRINT 1", u"FOR I=1 TO 3", u"BREAK 2", u"NEXT"}), PlayOutcome::BuildFailed);
  EXPECT_TRUE(ui.printed().empty());
  EXPECT_EQ(ui.errors(), std::vector<std::string>{shown("Number of BREAK is wrong", 3, "BREAK 2")});
  ASSERT_EQ(engine.ScriptLogLines().size(), 1u);
  EXPECT_EQ(engine.ExitCode.load(), 0);  // only a command-line run sets it
}

TEST_F(CheckPlays, HeaderErrorOfACalledFunctionIsShownAtTheHeader) {
  EXPECT_EQ(play({u"PRINT 1", u"F(2)", u"PROCEDURE F(A = 1, B)", u"FEND"}), PlayOutcome::BuildFailed);
  ASSERT_EQ(engine.ScriptLogLines().size(), 1u);
  EXPECT_EQ(utf16ToUtf8(engine.ScriptLogLines()[0]),
            "SyntaxError-121  " + utf16ToUtf8(engine.MainScriptName) + ": at line 3: PROCEDURE F(A = 1, B)");
}

TEST_F(CheckPlays, NoBuiltinRunsWhileChecking) {
  ScratchFolder folder;
  const fs::path keep = folder.write("keep.txt", "keep");
  EXPECT_EQ(play({u"X=DELETEFILE(\"" + keep.u16string() + u"\")", u"NO_SUCH_FUNCTION(1)"}), PlayOutcome::BuildFailed);
  EXPECT_TRUE(fs::exists(keep));
  EXPECT_EQ(ui.errors(), std::vector<std::string>{shown("It is not here: NO_SUCH_FUNCTION", 2, "NO_SUCH_FUNCTION(1)")});
}

TEST_F(CheckPlays, AnUnknownFunctionMetOnlyAtRunTimeKeepsItsRunTimeError) {
  EXPECT_EQ(play({u"TRY", u"EVAL(\"NO_SUCH_FUNCTION(1)\")", u"EXCEPT", u"PRINT TRY_ERRMSG", u"ENDTRY"}),
            PlayOutcome::Completed);
  EXPECT_EQ(ui.printed(), std::vector<std::string>{"SyntaxError-25"});
}

TEST_F(CheckPlays, RunsOnlyWhenAFileOfTheScriptChanged) {
  ScratchFolder folder;
  const fs::path main = folder.write("MAIN.MQS", "CALL LIB\nPRINT \"main\"\n");
  const fs::path lib = folder.write("LIB.MQS", "PRINT \"lib\"\n");
  const auto libTime = fs::last_write_time(lib);
  auto playAndCount = [&](PlayOutcome expected) {
    EXPECT_EQ(playFile(main), expected);
    return engine.checkPassRuns;
  };
  EXPECT_EQ(playAndCount(PlayOutcome::Completed), 1);
  EXPECT_EQ(playAndCount(PlayOutcome::Completed), 1);  // nothing changed
  fs::last_write_time(lib, libTime + std::chrono::seconds(10));
  EXPECT_EQ(playAndCount(PlayOutcome::Completed), 2);  // the CALLed file is newer
  EXPECT_EQ(playAndCount(PlayOutcome::Completed), 2);
  fs::last_write_time(lib, libTime - std::chrono::seconds(100));
  EXPECT_EQ(playAndCount(PlayOutcome::Completed), 3);  // an older copy put back counts as a change too
  fs::rename(lib, lib.string() + ".away");
  EXPECT_EQ(playAndCount(PlayOutcome::ReadFailed), 3);
  fs::rename(lib.string() + ".away", lib);
  EXPECT_EQ(playAndCount(PlayOutcome::Completed), 4);  // after a failed read everything is checked again
  EXPECT_EQ(ui.printed().size(), 12u);                 // six plays ran
}

TEST_F(CheckPlays, AfterACheckErrorTheNextPlayChecksAgain) {
  ScratchFolder folder;
  const fs::path main = folder.write("MAIN.MQS", "PRINT 1\nBREAK\n");
  EXPECT_EQ(playFile(main), PlayOutcome::BuildFailed);
  EXPECT_EQ(playFile(main), PlayOutcome::BuildFailed);
  EXPECT_EQ(engine.checkPassRuns, 2);
  EXPECT_EQ(ui.errors().size(), 2u);
  EXPECT_TRUE(ui.printed().empty());
}

class CheckPlaysInJapanese : public EngineTest {
 protected:
  CheckPlaysInJapanese() : EngineTest(0x0411) {}
};

TEST_F(CheckPlaysInJapanese, MessageAndLocationAreJapanese) {
  EXPECT_EQ(play({u"PRINT M.X", u"MODULE M", u"DIM X = 1", u"ENDMODULE"}), PlayOutcome::BuildFailed);
  EXPECT_EQ(ui.errors(), std::vector<std::string>{"変数: M.X は参照できません\r\n" +
                                                  utf16ToUtf8(engine.MainScriptName) + ": 1行目: PRINT M.X"});
}

}  // namespace
}  // namespace maqo::engine
