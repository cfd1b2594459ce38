// Script threads on a real engine: slots, CTRLTRD, the thread limit, frames
// of their own, user-interface work handed to the thread that plays, errors,
// and the end of the main part, of a repetition and of the run. Nothing here
// asserts timing: waits have generous bounds so that a broken wait fails
// instead of hanging, and "stops advancing" is checked as "settles and stays".
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/builder/headless_build_host.h"
#include "engine/run/tuscript.h"
#include "tests/unit/test_library.h"
#include "engine/threads/routed_ui.h"
#include "platform/fake/fakes.h"
#include "tests/unit/engine/threads/thread_test_support.h"
#include "platform/platform.h"
#include "platform/text_codec.h"
#include "tests/unit/engine/exec/exec_test_support.h"

namespace maqo::engine {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::u16string>;

using thread_test::eventually;
using thread_test::kGenerousBound;

// Records what the engine shows and on which thread each call arrived.
class ThreadUi final : public platform::UiSink {
 public:
  struct Call {
    std::string text;
    std::thread::id thread;
    int scriptThreadSlot;  // the slot the calling thread runs, -1 for none
  };

  void messageBox(const std::u16string& text, const std::u16string&) override { add(messages_, text); }
  void errorDialog(const std::u16string& message) override { add(errors_, message); }
  void printLine(const std::u16string& text) override { add(printed_, text); }
  void beep() override {}
  void pumpMessages() override {}

  std::vector<Call> printed() { return copy(printed_); }
  std::vector<Call> errors() { return copy(errors_); }
  std::vector<Call> messages() { return copy(messages_); }
  std::vector<std::string> printedTexts() {
    std::vector<std::string> out;
    for (const Call& c : printed()) out.push_back(c.text);
    return out;
  }
  size_t printCount() { return printed().size(); }

 private:
  void add(std::vector<Call>& to, const std::u16string& text) {
    std::lock_guard guard(lock_);
    to.push_back({utf16ToUtf8(text), std::this_thread::get_id(), CurrentScriptThreadSlot()});
  }
  std::vector<Call> copy(const std::vector<Call>& from) {
    std::lock_guard guard(lock_);
    return from;
  }
  std::mutex lock_;
  std::vector<Call> printed_, errors_, messages_;
};

// The build's clock with a gate: while closed, any sleep of a script thread
// blocks until the gate opens, so a thread hangs in a call that ignores stop
// requests (as a call into a hung DLL or COM server would). A sleep of the
// main part waits until a script thread is blocked, so that the script goes
// on knowing its thread hangs. (Sleeps of the thread that plays are left
// alone: it is the one constructing the clock.)
class GateClock final : public platform::Clock {
 public:
  explicit GateClock(platform::Clock& real) : real_(real), playing_(std::this_thread::get_id()) {}
  int64_t monotonicMs() override { return real_.monotonicMs(); }
  void sleepMs(int ms) override {
    {
      std::unique_lock guard(lock_);
      if (closed_ && CurrentScriptThreadSlot() >= 0) {
        ++blocked_;
        changed_.notify_all();
        changed_.wait(guard, [&] { return !closed_; });
        --blocked_;
      } else if (closed_ && std::this_thread::get_id() != playing_) {
        changed_.wait_for(guard, kGenerousBound, [&] { return blocked_ > 0 || !closed_; });
      }
    }
    real_.sleepMs(ms);
  }
  void close() {
    std::lock_guard guard(lock_);
    closed_ = true;
  }
  void open() {
    {
      std::lock_guard guard(lock_);
      closed_ = false;
    }
    changed_.notify_all();
  }
  bool waitBlocked() {
    std::unique_lock guard(lock_);
    return changed_.wait_for(guard, kGenerousBound, [&] { return blocked_ > 0; });
  }

 private:
  platform::Clock& real_;
  const std::thread::id playing_;
  std::mutex lock_;
  std::condition_variable changed_;
  bool closed_ = false;
  int blocked_ = 0;
};

class ExecThreads : public ::testing::Test {
 protected:
  explicit ExecThreads(uint16_t language = 0x0409)
      : base(platform::consolePlatform()),
        clock(base.clock),
        locale(base.locale, language, language == 0x0411 ? 932 : 1252),
        p{clock, base.files, locale, ui},
        engine(p, settings, tests::TestLibrary()) {}

  ~ExecThreads() override { clock.open(); }

  PlayOutcome play(Lines lines, int repeat = 1) {
    PlayRequest request;
    request.scriptPath = exec_test::missingScriptPath();
    request.recordedText = std::move(lines);
    request.repeatCount = repeat;
    return engine.pplay(request);
  }
  // Plays on a thread of its own (that thread is then the user-interface thread).
  std::future<PlayOutcome> start(Lines lines, int repeat = 1) {
    return std::async(std::launch::async, [this, lines, repeat] { return play(lines, repeat); });
  }
  // Sets a PUBLIC variable of the running script from the test.
  void setGlobal(std::u16string_view name, double value) {
    engine.store.PutValue(engine.store.GlobalScope, name, {}, ScriptValue::number(value), {});
  }
  bool printed(const std::string& text) {
    for (const std::string& line : ui.printedTexts())
      if (line == text) return true;
    return false;
  }

  platform::Platform& base;
  GateClock clock;
  platform::FakeLocale locale;
  ThreadUi ui;
  platform::Platform p;
  HeadlessBuildHost settings;
  TUScript engine;
};

TEST_F(ExecThreads, SlotNumbersAreTakenInOrderAndReusedOnceTheThreadHasEnded) {
  auto running = start({
      u"PUBLIC STEP = 0",
      u"A = THREAD HOLD(1)",
      u"B = THREAD HOLD(2)",
      u"PRINT \"first \" + A + \", second \" + B",
      u"REPEAT",
      u"  SLEEP(0.01)",
      u"UNTIL STEP = 2",
      u"C = THREAD HOLD(3)",
      u"PRINT \"third \" + C",
      u"STEP = 9",
      u"PROCEDURE HOLD(K)",
      u"  REPEAT",
      u"    SLEEP(0.01)",
      u"  UNTIL (K = 1 AND STEP >= 1) OR STEP = 9",
      u"FEND",
  });
  ASSERT_TRUE(eventually([&] { return ui.printCount() >= 1; }));
  setGlobal(u"STEP", 1);  // the first thread ends
  ASSERT_TRUE(eventually([&] { return engine.ThreadSlots.occupied() == 1; }));
  setGlobal(u"STEP", 2);
  ASSERT_EQ(running.wait_for(kGenerousBound), std::future_status::ready);
  EXPECT_EQ(running.get(), PlayOutcome::Completed);
  EXPECT_EQ(ui.printedTexts(), (std::vector<std::string>{"first 0, second 1", "third 0"}));
  EXPECT_EQ(engine.ThreadSlots.occupied(), 0);
}

TEST_F(ExecThreads, SuspendedThreadStopsAdvancingResumedGoesOnQuitEnds) {
  // A reading "settles" when two reads 50 ms apart agree (a statement in
  // progress when CTRLTRD came may still finish); then it must stay.
  const Lines settle = {
      u"PROCEDURE SETTLE(VAR V)",
      u"  LAST = -1",
      u"  V = C",
      u"  FOR N = 1 TO 1000",
      u"    IF LAST = V THEN BREAK",
      u"    LAST = V",
      u"    SLEEP(0.05)",
      u"    V = C",
      u"  NEXT",
      u"FEND",
  };
  Lines lines = {
      u"PUBLIC C = 0",
      u"S = 0",
      u"Q = 0",
      u"ID = THREAD COUNT()",
      u"REPEAT",
      u"  SLEEP(0.01)",
      u"UNTIL C > 0",
      u"CTRLTRD(ID, TRD_SUSPEND)",
      u"SETTLE(S)",
      u"SLEEP(0.3)",
      u"PRINT \"suspended stays: \" + (C = S)",
      u"CTRLTRD(ID, TRD_RESUME)",
      u"FOR N = 1 TO 6000",
      u"  IF C > S THEN BREAK",
      u"  SLEEP(0.01)",
      u"NEXT",
      u"PRINT \"resumed advances: \" + (C > S)",
      u"CTRLTRD(ID, TRD_QUIT)",
      u"SETTLE(Q)",
      u"SLEEP(0.3)",
      u"PRINT \"quit stays: \" + (C = Q)",
      u"PROCEDURE COUNT()",
      u"  WHILE TRUE",
      u"    C = C + 1",
      u"  WEND",
      u"FEND",
  };
  lines.insert(lines.end(), settle.begin(), settle.end());
  EXPECT_EQ(play(lines), PlayOutcome::Completed);
  EXPECT_EQ(ui.printedTexts(),
            (std::vector<std::string>{"suspended stays: True", "resumed advances: True", "quit stays: True"}));
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(ExecThreads, CtrlTrdIgnoresSlotsWithoutAThreadAndTakesPriorities) {
  EXPECT_EQ(play({
                u"PRINT CTRLTRD(-1, TRD_SUSPEND) + CTRLTRD(64, TRD_SUSPEND) + CTRLTRD(5, TRD_SUSPEND)",
                u"PUBLIC DONE = 0",
                u"ID = THREAD WORK()",
                u"CTRLTRD(ID, 99)",
                u"FOR P = TRD_IDLE TO TRD_HIGHEST",
                u"  CTRLTRD(ID, P)",
                u"NEXT",
                u"CTRLTRD(ID, TRD_NORMAL)",
                u"REPEAT",
                u"  SLEEP(0.01)",
                u"UNTIL DONE = 1",
                u"PRINT \"done\"",
                u"PROCEDURE WORK()",
                u"  FOR I = 1 TO 200",
                u"    SLEEP(0.001)",
                u"  NEXT",
                u"  DONE = 1",
                u"FEND",
            }),
            PlayOutcome::Completed);
  EXPECT_EQ(ui.printedTexts(), (std::vector<std::string>{"0", "done"}));
}

// Both languages of the limit error, caught and uncaught.
class ExecThreadsJapanese : public ExecThreads {
 protected:
  ExecThreadsJapanese() : ExecThreads(0x0411) {}
};

const Lines kSixtyFiveThreads = {
    u"PUBLIC GO = FALSE",
    u"FOR K = 1 TO 64",
    u"  X = THREAD WAITER()",
    u"NEXT",
    u"PRINT \"last \" + X",
    u"TRY",
    u"  X = THREAD WAITER()",
    u"EXCEPT",
    u"  PRINT TRY_ERRMSG",
    u"ENDTRY",
    u"PRINT \"result \" + X",
    u"Y = 5",
    u"Y = THREAD WAITER()",
    u"PRINT \"not reached\"",
    u"PROCEDURE WAITER()",
    u"  REPEAT",
    u"    SLEEP(0.01)",
    u"  UNTIL GO",
    u"FEND",
};

TEST_F(ExecThreads, The65thThreadIsAnErrorAndGivesMinusOne) {
  EXPECT_EQ(play(kSixtyFiveThreads), PlayOutcome::ErrorStopped);
  const std::string message = "Error: It exceeded maximum Thread number =64";
  EXPECT_EQ(ui.printedTexts(), (std::vector<std::string>{"last 63", message, "result -1"}));
  ASSERT_EQ(ui.errors().size(), 1u);
  EXPECT_EQ(ui.errors()[0].text.substr(0, message.size()), message);
  EXPECT_EQ(engine.ThreadSlots.occupied(), 0);
}

TEST_F(ExecThreadsJapanese, The65thThreadIsAnErrorAndGivesMinusOne) {
  EXPECT_EQ(play(kSixtyFiveThreads), PlayOutcome::ErrorStopped);
  EXPECT_EQ(ui.printedTexts(),
            (std::vector<std::string>{"last 63", "Error: 最大スレッド数=64 を超えました", "result -1"}));
}

TEST_F(ExecThreads, OnlyAUserFunctionCanBeStarted) {
  EXPECT_EQ(play({
                u"TRY",
                u"  EVAL(\"THREAD LENGTH(<#DBL>a<#DBL>)\")",
                u"EXCEPT",
                u"  PRINT TRY_ERRMSG",
                u"ENDTRY",
                u"TRY",
                u"  EVAL(\"ID := THREAD NOSUCHFUNCTION()\")",
                u"EXCEPT",
                u"  PRINT TRY_ERRMSG",
                u"ENDTRY",
                u"PUBLIC SHOWN = 0",
                u"EVAL(\"THREAD SHOW(<#DBL>from EVAL<#DBL>)\")",
                u"REPEAT",
                u"  SLEEP(0.01)",
                u"UNTIL SHOWN = 1",
                u"PROCEDURE SHOW(T)",
                u"  PRINT T",
                u"  SHOWN = 1",
                u"FEND",
            }),
            PlayOutcome::Completed);
  EXPECT_EQ(ui.printedTexts(), (std::vector<std::string>{"SyntaxError-25", "SyntaxError-25", "from EVAL"}));
}

TEST_F(ExecThreads, UserInterfaceWorkOfThreadsRunsOnThePlayingThreadInWholeLines) {
  const std::string line = "0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::thread::id playing;
  auto running = std::async(std::launch::async, [&] {
    playing = std::this_thread::get_id();
    return play({
        u"PUBLIC ENDED[7]",
        u"FOR K = 0 TO 7",
        u"  THREAD WRITER(K)",
        u"NEXT",
        u"REPEAT",
        u"  SLEEP(0.01)",
        u"  N = 0",
        u"  FOR K = 0 TO 7",
        u"    N = N + ENDED[K]",
        u"  NEXT",
        u"UNTIL N = 8",
        u"PROCEDURE WRITER(K)",
        u"  FOR I = 1 TO 100",
        u"    PRINT \"" + utf8ToUtf16(line) + u"\"",
        u"  NEXT",
        u"  ENDED[K] = 1",
        u"FEND",
    });
  });
  ASSERT_EQ(running.wait_for(kGenerousBound), std::future_status::ready);
  EXPECT_EQ(running.get(), PlayOutcome::Completed);
  const std::vector<ThreadUi::Call> calls = ui.printed();
  ASSERT_EQ(calls.size(), 800u);
  for (const ThreadUi::Call& call : calls) {
    EXPECT_EQ(call.text, line);
    EXPECT_EQ(call.thread, playing) << "a script thread printed on its own thread";
    EXPECT_EQ(call.scriptThreadSlot, -1);
  }
}

TEST_F(ExecThreads, UncaughtErrorOfAThreadIsReportedAndStopsTheRunDespiteTheCallersTry) {
  engine.OneScriptRun = true;
  std::thread::id playing;
  auto running = std::async(std::launch::async, [&] {
    playing = std::this_thread::get_id();
    return play({
        u"TRY",
        u"  THREAD BAD()",
        u"  FOR I = 1 TO 60000",
        u"    SLEEP(0.001)",
        u"  NEXT",
        u"  PRINT \"not reached\"",
        u"EXCEPT",
        u"  PRINT \"caught by the caller\"",
        u"ENDTRY",
        u"PRINT \"after\"",
        u"PROCEDURE BAD()",
        u"  X = EVAL(\"UNDEFINEDNAME + 1\")",
        u"FEND",
    });
  });
  ASSERT_EQ(running.wait_for(kGenerousBound), std::future_status::ready);
  EXPECT_EQ(running.get(), PlayOutcome::ErrorStopped);
  EXPECT_TRUE(ui.printed().empty());
  const auto errors = ui.errors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].text.substr(0, 30), "It isn't defined: UNDEFINEDNAM");
  EXPECT_NE(errors[0].text.find("at line 12: X = EVAL(\"UNDEFINEDNAME + 1\")"), std::string::npos) << errors[0].text;
  EXPECT_EQ(errors[0].thread, playing);
  EXPECT_EQ(engine.ExitCode.load(), 9);
}

TEST_F(ExecThreads, ThreadFramesAreCopiesGlobalsAreShared) {
  EXPECT_EQ(play({
                u"PUBLIC G = 1",
                u"PUBLIC READY = 0",
                u"L = \"main local\"",
                u"N = 10",
                u"DIM ARR[1] = 1, 2",
                u"THREAD T(N, ARR)",
                u"ARR[0] = 100",
                u"G = 2",
                u"REPEAT",
                u"  SLEEP(0.01)",
                u"UNTIL READY = 2",
                u"PRINT \"main sees \" + G + \", \" + L + \", \" + N + \", \" + ARR[0] + \" \" + ARR[1]",
                u"PROCEDURE T(VAR X, A[])",
                u"  L = \"thread local\"",
                u"  X = 99",
                u"  A[1] = 200",
                u"  REPEAT",
                u"    SLEEP(0.01)",
                u"  UNTIL G = 2",
                u"  PRINT \"thread sees \" + A[0] + \" \" + A[1] + \", \" + X",
                u"  THREAD INNER()",
                u"FEND",
                u"PROCEDURE INNER()",
                u"  READY = 2",
                u"FEND",
            }),
            PlayOutcome::Completed);
  EXPECT_EQ(ui.printedTexts(),
            (std::vector<std::string>{"thread sees 1 200, 99", "main sees 2, main local, 10, 100 2"}));
}

TEST_F(ExecThreads, TheRunEndsWhenItsMainPartEndsAndEveryThreadStops) {
  auto running = start({
      u"OPTION OPTFINALLY",
      u"PUBLIC C = 0",
      u"PUBLIC SLEEPING = 0",
      u"THREAD SPIN()",
      u"ID = THREAD SPIN()",
      u"CTRLTRD(ID, TRD_SUSPEND)",
      u"THREAD SLEEPER()",
      u"REPEAT",
      u"  SLEEP(0.01)",
      u"UNTIL C > 2000 AND SLEEPING = 1",
      u"PRINT \"main part ends\"",
      u"PROCEDURE SPIN()",
      u"  WHILE TRUE",
      u"    C = C + 1",
      u"    IF C MOD 1000 = 0 THEN PRINT \"tick\"",
      u"  WEND",
      u"FEND",
      u"PROCEDURE SLEEPER()",
      u"  TRY",
      u"    SLEEPING = 1",
      u"    SLEEP(100000)",
      u"  FINALLY",
      u"    PRINT \"sleeper's finally\"",
      u"  ENDTRY",
      u"FEND",
  });
  ASSERT_EQ(running.wait_for(kGenerousBound), std::future_status::ready) << "the run did not end";
  EXPECT_EQ(running.get(), PlayOutcome::Completed);
  // Every slot free: each thread has ended (one abandoned in a call would have
  // been reported in a message), so nothing can print after the run.
  EXPECT_EQ(engine.ThreadSlots.occupied(), 0);
  EXPECT_TRUE(printed("main part ends"));
  EXPECT_TRUE(printed("sleeper's finally"));
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(ExecThreads, ThreadsOfOneRepetitionDoNotRunIntoTheNext) {
  EXPECT_EQ(play(
                {
                    u"PUBLIC G = 0",
                    u"PRINT \"repetition starts with \" + G",
                    u"THREAD W()",
                    u"REPEAT",
                    u"  SLEEP(0.01)",
                    u"UNTIL G = 100",
                    u"PROCEDURE W()",
                    u"  WHILE TRUE",
                    u"    G = 100",
                    u"  WEND",
                    u"FEND",
                },
                3),
            PlayOutcome::Completed);
  EXPECT_EQ(ui.printedTexts(), std::vector<std::string>(3, "repetition starts with 0"));
  EXPECT_EQ(engine.ThreadSlots.occupied(), 0);
}

TEST_F(ExecThreads, ThreadStuckInACallIsReportedAbandonedAndKeepsItsSlotUntilItEnds) {
  engine.ThreadEndBound = 200ms;
  clock.close();
  EXPECT_EQ(play({u"THREAD STUCK()", u"SLEEP(0.01)", u"PRINT \"main part ends\"", u"PROCEDURE STUCK()",
                  u"  SLEEP(1)", u"FEND"}),
            PlayOutcome::Completed);
  ASSERT_TRUE(clock.waitBlocked());
  const auto messages = ui.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Script thread 0 (STUCK) did not stop and is no longer waited for");

  // While it is stuck, its slot (and its record) serve no other thread.
  EXPECT_EQ(play({u"ID = THREAD QUICK()", u"PRINT ID", u"PROCEDURE QUICK()", u"FEND"}), PlayOutcome::Completed);
  EXPECT_EQ(ui.printedTexts().back(), "1");

  // Once its call returns it stops at once, and the slot is free again.
  clock.open();
  ASSERT_TRUE(eventually([&] { return engine.ThreadSlots.occupied() == 0; }));
  EXPECT_EQ(play({u"ID = THREAD QUICK()", u"PRINT ID", u"PROCEDURE QUICK()", u"FEND"}), PlayOutcome::Completed);
  EXPECT_EQ(ui.printedTexts().back(), "0");
  EXPECT_EQ(ui.messages().size(), 1u);
}

}  // namespace
}  // namespace maqo::engine
