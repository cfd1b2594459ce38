// The pieces under THREAD: the hand-over of user-interface work to the
// serving thread, and the slot table. Waits have generous bounds; where a
// test gives a fault time to show, it never asserts how long anything took.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "engine/exec/thread_record.h"
#include "engine/threads/routed_ui.h"
#include "engine/threads/thread_slots.h"
#include "engine/threads/ui_handover.h"
#include "tests/unit/engine/threads/thread_test_support.h"

namespace maqo::engine {
namespace {

using namespace std::chrono_literals;

using thread_test::eventually;
using thread_test::kGenerousBound;

// A one-shot signal between threads.
class Latch {
 public:
  void open() {
    {
      std::lock_guard guard(lock_);
      open_ = true;
    }
    changed_.notify_all();
  }
  bool wait() {
    std::unique_lock guard(lock_);
    return changed_.wait_for(guard, kGenerousBound, [&] { return open_; });
  }
  bool isOpen() {
    std::lock_guard guard(lock_);
    return open_;
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool open_ = false;
};

// ---- the hand-over ----

// Serves on a thread of its own until finish() is called.
class ServingThread {
 public:
  explicit ServingThread(UiHandOver& handOver, std::function<void()> idle = {},
                         std::chrono::milliseconds idleEvery = 10ms)
      : handOver_(handOver) {
    thread_ = std::thread([this, idle, idleEvery] {
      // Serving from before the test goes on: no request may run elsewhere.
      UiHandOver::Serving serving(handOver_);
      id_ = std::this_thread::get_id();
      ready_.open();
      handOver_.serveUntil([this] { return done_.load(); }, idle, UiHandOver::Clock::time_point::max(), idleEvery);
    });
    ready_.wait();
  }
  ~ServingThread() { finish(); }
  void finish() {
    done_.store(true);
    handOver_.wake();
    if (thread_.joinable()) thread_.join();
  }
  std::thread::id id() const { return id_; }

 private:
  UiHandOver& handOver_;
  std::atomic<bool> done_{false};
  Latch ready_;
  std::thread::id id_;
  std::thread thread_;
};

TEST(ThreadUiHandOver, WithoutAServingThreadWorkRunsOnTheCaller) {
  UiHandOver handOver;
  std::thread::id ranOn;
  handOver.run([&] { ranOn = std::this_thread::get_id(); });
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(ThreadUiHandOver, WorkRunsOnTheServingThreadAndItsFailureComesBack) {
  UiHandOver handOver;
  ServingThread server(handOver);
  auto request = std::async(std::launch::async, [&] {
    std::thread::id ranOn;
    handOver.run([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_THROW(handOver.run([] { throw std::runtime_error("the dialog failed"); }), std::runtime_error);
    return ranOn;
  });
  ASSERT_EQ(request.wait_for(kGenerousBound), std::future_status::ready);
  EXPECT_EQ(request.get(), server.id());
}

TEST(ThreadUiHandOver, ARequestWakesTheServingThreadWithoutWaitingForItsIdleRound) {
  UiHandOver handOver;
  // The server's own rounds are far apart: only a wake-up can serve in time.
  ServingThread server(handOver, [] {}, std::chrono::hours(1));
  auto request = std::async(std::launch::async, [&] {
    for (int i = 0; i < 20; ++i) handOver.run([] {});
  });
  EXPECT_EQ(request.wait_for(kGenerousBound), std::future_status::ready) << "requests waited for polling";
  server.finish();
}

TEST(ThreadUiHandOver, AServingThreadBlockedInACallOfItsOwnDoesNotBlockTheRequest) {
  UiHandOver handOver;
  handOver.pickupBound = 50ms;
  Latch inLongCall, release;
  ServingThread server(
      handOver,
      [&] {
        if (release.isOpen()) return;
        inLongCall.open();
        release.wait();
      },
      1ms);
  ASSERT_TRUE(inLongCall.wait());
  std::thread::id ranOn;
  auto request = std::async(std::launch::async, [&] {
    handOver.run([&] { ranOn = std::this_thread::get_id(); });
    return std::this_thread::get_id();
  });
  ASSERT_EQ(request.wait_for(kGenerousBound), std::future_status::ready) << "the two threads waited for each other";
  EXPECT_EQ(ranOn, request.get());
  release.open();
  server.finish();
}

TEST(ThreadUiHandOver, RequestsWaitTheirTurnWhileAnotherRequestRuns) {
  UiHandOver handOver;
  handOver.pickupBound = 20ms;
  ServingThread server(handOver);
  Latch dialogOpen, dialogClosed;
  auto first = std::async(std::launch::async, [&] {
    handOver.run([&] {
      dialogOpen.open();
      dialogClosed.wait();
    });
  });
  ASSERT_TRUE(dialogOpen.wait());
  std::atomic<bool> secondRan{false};
  std::thread::id secondRanOn;
  auto second = std::async(std::launch::async, [&] {
    handOver.run([&] {
      secondRanOn = std::this_thread::get_id();
      secondRan = true;
    });
  });
  // Once its pickup bound has run out, the second request must still be waiting.
  ASSERT_TRUE(eventually([&] { return handOver.turnsWaited() > 0; })) << "the second request never waited its turn";
  EXPECT_FALSE(secondRan.load());
  dialogClosed.open();
  ASSERT_EQ(second.wait_for(kGenerousBound), std::future_status::ready);
  ASSERT_EQ(first.wait_for(kGenerousBound), std::future_status::ready);
  EXPECT_EQ(secondRanOn, server.id());
}

TEST(ThreadUiHandOver, ServingEndsAtItsDeadlineAndRunsWhatWasQueuedBeforeIt) {
  UiHandOver handOver;
  EXPECT_FALSE(handOver.serveUntil([] { return false; }, {}, UiHandOver::Clock::now() + 20ms));

  // Inside a Serving scope requests wait for the serving thread, which runs
  // them at the latest when the scope ends.
  std::thread::id ranOn;
  std::future<void> request;
  {
    UiHandOver::Serving serving(handOver);
    request = std::async(std::launch::async, [&] { handOver.run([&] { ranOn = std::this_thread::get_id(); }); });
    ASSERT_TRUE(eventually([&] { return handOver.queuedRequests() > 0; })) << "the request was never queued";
  }
  ASSERT_EQ(request.wait_for(kGenerousBound), std::future_status::ready);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

// ---- the slot table ----

class ThreadSlotTable : public ::testing::Test {
 protected:
  std::array<TMainTrd, kThreadRecords> records;
  ThreadSlots slots{records};
};

TEST_F(ThreadSlotTable, SlotsAreTakenInOrderUpTo64AndEndedThreadsFreeTheirs) {
  for (int s = 0; s < kScriptThreadSlots; ++s) ASSERT_EQ(slots.reserve(), s);
  EXPECT_EQ(slots.reserve(), -1);
  EXPECT_EQ(slots.occupied(), kScriptThreadSlots);

  slots.release(5);
  EXPECT_EQ(slots.reserve(), 5);

  int ranAs = -2;
  ASSERT_TRUE(slots.start(3, u"QUICK", [&] { ranAs = CurrentScriptThreadSlot(); }, kGenerousBound));
  // Every other slot is reserved: only slot 3 can come free, once its thread ended.
  ASSERT_TRUE(eventually([&] {
    const int slot = slots.reserve();
    EXPECT_TRUE(slot == -1 || slot == 3) << slot;
    return slot == 3;
  })) << "the ended thread's slot was not freed";
  EXPECT_EQ(ranAs, 3);
  for (int s = 0; s < kScriptThreadSlots; ++s) slots.release(s);
  EXPECT_EQ(slots.occupied(), 0);
}

TEST_F(ThreadSlotTable, ControlActsOnRunningThreadsOnly) {
  struct Case {
    int command;
    int state;     // control state afterwards
    int priority;  // priority request afterwards
  };
  const Case cases[] = {
      {kTrdSuspend, 1, 0}, {kTrdResume, 0, 0},  {kTrdLowest, 0, kTrdLowest}, {kTrdHighest, 0, kTrdHighest},
      {4, 0, 0},           {kTrdQuit, 2, 0},    {kTrdResume, 0, 0},
  };
  Latch release;
  const int slot = slots.reserve();
  slots.control(slot, kTrdSuspend);  // only reserved: no thread yet
  EXPECT_EQ(records[static_cast<size_t>(slot) + 1].controlState.load(), 0);
  ASSERT_TRUE(slots.start(slot, u"WAITER", [&] { release.wait(); }, kGenerousBound));
  TMainTrd& record = records[static_cast<size_t>(slot) + 1];
  for (const Case& c : cases) {
    record.priorityRequest.store(0);
    slots.control(slot, c.command);
    EXPECT_EQ(record.controlState.load(), c.state) << "command " << c.command;
    EXPECT_EQ(record.priorityRequest.load(), c.priority) << "command " << c.command;
  }
  for (const int outside : {-1, kScriptThreadSlots, slot + 1}) slots.control(outside, kTrdSuspend);
  EXPECT_EQ(records[static_cast<size_t>(slot) + 2].controlState.load(), 0);
  release.open();
  ASSERT_TRUE(eventually([&] { return slots.reclaim(); }));
}

TEST_F(ThreadSlotTable, AnAbandonedThreadKeepsItsSlotAndRecordUntilItEnds) {
  Latch stuck, release;
  const int slot = slots.reserve();
  ASSERT_TRUE(slots.start(slot, u"STUCK", [&] {
    stuck.open();
    release.wait();
  }, kGenerousBound));
  ASSERT_TRUE(stuck.wait());
  EXPECT_FALSE(slots.reclaim());

  const std::vector<AbandonedThread> abandoned = slots.abandonRunning();
  ASSERT_EQ(abandoned.size(), 1u);
  EXPECT_EQ(abandoned[0].slot, slot);
  EXPECT_EQ(abandoned[0].function, u"STUCK");
  EXPECT_TRUE(records[static_cast<size_t>(slot) + 1].abandoned());
  EXPECT_TRUE(slots.reclaim()) << "an abandoned thread is not waited for";
  EXPECT_TRUE(slots.abandonRunning().empty()) << "abandoned twice";
  EXPECT_TRUE(slots.recordInUse(slot + 1));
  EXPECT_NE(slots.reserve(), slot);
  slots.control(slot, kTrdResume);
  EXPECT_TRUE(records[static_cast<size_t>(slot) + 1].abandoned()) << "an abandoned thread was resumed";

  release.open();
  ASSERT_TRUE(eventually([&] { return !slots.recordInUse(slot + 1); }));
  EXPECT_FALSE(slots.recordInUse(0));
}

}  // namespace
}  // namespace maqo::engine
