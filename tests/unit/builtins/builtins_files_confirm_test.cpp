// FCLOSE that cannot write its file asks the user whether to abort: Yes ends
// the run, No lets the script go on with FALSE, a waiting TRY takes the
// failure over, and the quiet argument asks nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "builtins/file_slots.h"
#include "builtins/register_builtins.h"
#include "tests/unit/builtins/builtins_files_support.h"
#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::builtins {
namespace {

using engine::PlayOutcome;
using Lines = std::vector<std::u16string>;

// The core builtins, and a family hook that notes when the engine lets the
// families release what they hold before a dialog.
struct CoreLibraryWithDialogHook {
  explicit CoreLibraryWithDialogHook(std::vector<std::string>& events) {
    RegisterCoreBuiltins(library);
    library.addBeforeErrorShownHook([&events](engine::RunHookContext&) { events.push_back("released"); });
  }
  engine::BuiltinLibrary library;
};

// A real engine on a fake clock, so the writer's ten attempts take no time.
class BuiltinsFilesConfirm : public ::testing::Test {
 protected:
  PlayOutcome play(const Lines& lines) {
    engine::PlayRequest request;
    request.scriptPath = engine::exec_test::missingScriptPath();
    request.recordedText = lines;
    return engine.pplay(request);
  }
  // A script line that opens a file in a folder that does not exist for writing.
  std::u16string openUnwritable() { return u"ID = FOPEN(\"" + unwritable + u"\", F_WRITE)"; }

  files_test::TempDir dir;
  const std::u16string unwritable = dir.path("no-such-folder/out.txt");
  platform::FakeClock clock;
  platform::FakeLocale locale{platform::consolePlatform().locale, 0x0409, 1252};
  engine::exec_test::SharedUi ui;
  platform::Platform p{clock, platform::consolePlatform().files, locale, ui};
  engine::HeadlessBuildHost settings;
  std::vector<std::string> events;  // "released", "asked" in the order they happened
  CoreLibraryWithDialogHook core{events};
  engine::TUScript engine{p, settings, core.library};
  std::vector<std::u16string> questions;
  void answer(bool abort) {
    engine.AskYesNo = [this, abort](const std::u16string& question) {
      questions.push_back(question);
      events.push_back("asked");
      return abort;
    };
  }
};

TEST_F(BuiltinsFilesConfirm, AnsweredYesTheRunStopsWithoutAnErrorDialog) {
  answer(true);
  play({openUnwritable(), u"PRINT \"closing\"", u"PRINT FCLOSE(ID)", u"PRINT \"after\""});
  EXPECT_EQ(ui.printed(), std::vector<std::string>{"closing"});
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], unwritable + u"：Can't be written in\r\nDo you want to abort?");
  EXPECT_TRUE(ui.errors().empty());
  EXPECT_EQ(CloseAllFileSlots(), 0);  // the slot was freed all the same
}

TEST_F(BuiltinsFilesConfirm, AnsweredNoTheScriptGoesOnWithFalse) {
  answer(false);
  EXPECT_EQ(play({openUnwritable(), u"PRINT FCLOSE(ID)", u"PRINT \"after\""}), PlayOutcome::Completed);
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"False", "after"}));
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_TRUE(ui.errors().empty());
}

// An input lock must not keep the user from answering: the families release
// it before the question, as before an error dialog.
TEST_F(BuiltinsFilesConfirm, TheFamiliesReleaseWhatTheyHoldBeforeTheQuestion) {
  answer(false);
  play({openUnwritable(), u"FCLOSE(ID)"});
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), "released");
  EXPECT_EQ(std::count(events.begin(), events.end(), "asked"), 1);
  EXPECT_LT(std::find(events.begin(), events.end(), "released") - events.begin(),
            std::find(events.begin(), events.end(), "asked") - events.begin());
}

TEST_F(BuiltinsFilesConfirm, QuietCloseAsksNothing) {
  answer(true);
  EXPECT_EQ(play({openUnwritable(), u"PRINT FCLOSE(ID, TRUE)", u"PRINT \"after\""}), PlayOutcome::Completed);
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{"False", "after"}));
  EXPECT_TRUE(questions.empty());
}

TEST_F(BuiltinsFilesConfirm, AWaitingTryTakesTheFailureOver) {
  answer(true);
  EXPECT_EQ(play({openUnwritable(), u"TRY", u"  FCLOSE(ID)", u"  PRINT \"not reached\"", u"EXCEPT",
                  u"  PRINT TRY_ERRMSG", u"ENDTRY", u"PRINT \"after\""}),
            PlayOutcome::Completed);
  EXPECT_EQ(ui.printed(), (std::vector<std::string>{utf16ToUtf8(unwritable) + "：Can't be written in", "after"}));
  EXPECT_TRUE(questions.empty());
  EXPECT_TRUE(ui.errors().empty());
}

// A function called inside the caller's TRY: its failure reaches the caller's EXCEPT.
TEST_F(BuiltinsFilesConfirm, TheCallersTryTakesItFromAFunction) {
  answer(true);
  EXPECT_EQ(play({u"TRY", u"  SAVE()", u"EXCEPT", u"  PRINT \"caught\"", u"ENDTRY", u"PROCEDURE SAVE()",
                  openUnwritable(), u"FCLOSE(ID)", u"PRINT \"not reached\"", u"FEND"}),
            PlayOutcome::Completed);
  EXPECT_EQ(ui.printed(), std::vector<std::string>{"caught"});
  EXPECT_TRUE(questions.empty());
}

}  // namespace
}  // namespace maqo::builtins
