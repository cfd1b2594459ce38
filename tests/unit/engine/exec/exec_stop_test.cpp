// Stop requests from another thread end a running script: an endless loop, a
// paused run, FINALLY parts under OPTION OPTFINALLY. No timing is asserted
// beyond "it ends" (with a generous bound, so a broken stop fails instead of hanging).
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "tests/unit/engine/exec/exec_test_support.h"
#include "tests/unit/engine/threads/thread_test_support.h"

namespace maqo::engine {
namespace {

using exec_test::EngineTest;
using namespace std::chrono_literals;

constexpr auto kGenerousBound = 60s;

class ExecStopFromAnotherThread : public EngineTest {
 protected:
  // Plays the lines on a thread of its own and waits until the script has
  // printed `printsBeforeWaiting` lines.
  std::future<PlayOutcome> start(std::vector<std::u16string> lines, int printsBeforeWaiting = 1) {
    auto running = std::async(std::launch::async, [this, lines] { return play(lines); });
    const auto until = std::chrono::steady_clock::now() + kGenerousBound;
    while (ui.printCount.load() < printsBeforeWaiting && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(1ms);
    return running;
  }
};

TEST_F(ExecStopFromAnotherThread, EndlessLoopEndsOnAStopRequest) {
  auto running = start({u"PRINT \"started\"", u"WHILE TRUE", u"WEND", u"PRINT \"never\""});
  engine.RequestStop();
  ASSERT_EQ(running.wait_for(kGenerousBound), std::future_status::ready) << "the loop did not stop";
  EXPECT_EQ(running.get(), PlayOutcome::Stopped);
  EXPECT_EQ(ui.printed(), std::vector<std::string>{"started"});
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(ExecStopFromAnotherThread, EndlessLoopInAFunctionEndsToo) {
  auto running = start({u"PRINT \"started\"", u"SPIN()", u"PROCEDURE SPIN()", u"N = 0", u"REPEAT", u"N = N + 1",
                        u"UNTIL FALSE", u"FEND"});
  engine.RequestStop();
  ASSERT_EQ(running.wait_for(kGenerousBound), std::future_status::ready);
  EXPECT_EQ(running.get(), PlayOutcome::Stopped);
}

TEST_F(ExecStopFromAnotherThread, PausedRunWaitsAndStillEndsOnAStop) {
  engine.RunState.store(kRunPaused);
  const long pumpsBefore = ui.pumps.load();
  auto running = std::async(std::launch::async, [this] { return play({u"PRINT \"never while paused\""}); });
  // The paused statement loop keeps window messages flowing: once far more
  // pumps happened than the start of a run makes (about 20), it is waiting
  // before the first statement.
  ASSERT_TRUE(thread_test::eventually([&] { return ui.pumps.load() >= pumpsBefore + 60; }))
      << "the paused run does not keep messages flowing";
  EXPECT_EQ(ui.printCount.load(), 0);
  engine.RequestStop();
  ASSERT_EQ(running.wait_for(kGenerousBound), std::future_status::ready);
  EXPECT_EQ(running.get(), PlayOutcome::Stopped);
  EXPECT_TRUE(ui.printed().empty());
}

TEST_F(ExecStopFromAnotherThread, FinallyRunsOnAStopOnlyUnderOptFinally) {
  for (const bool optFinally : {false, true}) {
    std::vector<std::u16string> lines;
    if (optFinally) lines.push_back(u"OPTION OPTFINALLY");
    for (const char16_t* line : {u"TRY", u"PRINT \"started\"", u"WHILE TRUE", u"WEND", u"FINALLY",
                                 u"PRINT \"finally\"", u"ENDTRY"})
      lines.push_back(line);
    const int before = ui.printCount.load();
    auto running = start(lines, before + 1);
    engine.RequestStop();
    ASSERT_EQ(running.wait_for(kGenerousBound), std::future_status::ready);
    EXPECT_EQ(running.get(), PlayOutcome::Stopped);
    EXPECT_EQ(ui.printCount.load() - before, optFinally ? 2 : 1) << "OPTFINALLY " << optFinally;
  }
  EXPECT_EQ(ui.printed().back(), "finally");
}

TEST_F(ExecStopFromAnotherThread, WindowMessagesKeepFlowingDuringALongLoop) {
  auto running = start({u"PRINT \"started\"", u"WHILE TRUE", u"WEND"});
  const long before = ui.pumps.load();
  const auto until = std::chrono::steady_clock::now() + kGenerousBound;
  while (ui.pumps.load() < before + 3 && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(1ms);
  EXPECT_GE(ui.pumps.load(), before + 3);
  engine.RequestStop();
  ASSERT_EQ(running.wait_for(kGenerousBound), std::future_status::ready);
}

}  // namespace
}  // namespace maqo::engine
