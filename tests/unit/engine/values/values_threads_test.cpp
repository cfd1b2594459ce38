// Script threads share the global variables and hash tables through the
// store's lock; each thread runs its own frame.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "tests/unit/engine/values/values_test_support.h"

namespace maqo::engine {
namespace {

using namespace values_test;

TEST(ValuesThreads, TwoThreadsShareGlobalsSafely) {
  GlobalStore store;
  store.evaluate = [&store](std::u16string_view text, THensuFmt& f) { return evaluateSimple(store, text, f); };
  ASSERT_FALSE(store.DeclareGlobals(u"COUNTER, TEXT, LIST[199]", false, false));
  store.DeclareHashTable(store.GlobalScope, u"SEEN", kHashSort);
  store.PutValue(store.GlobalScope, u"TEXT", {}, list({str(u"start")}), {});

  constexpr int kRounds = 2000;
  auto worker = [&](int id) {
    THensuFmt frame;
    frame.threadSlot = id;
    for (int i = 0; i < kRounds; ++i) {
      const ScriptValue index = num(id * 100 + i % 100);
      store.PutValue(frame, u"LIST", idx({index}), num(i), {});
      const ScriptValue shared = store.GetValue(frame, u"TEXT");  // a copy sharing the other thread's array
      ScriptValue mine = shared;
      mine.mutableArray().append(num(id));  // changes this thread's copy only
      store.PutValue(frame, u"TEXT", {}, mine.arrayRef().size() > 50 ? list({str(u"reset")}) : mine, {});
      store.PutValue(frame, u"SEEN", idx({num(id * kRounds + i)}), num(i), {});
      store.PutValue(frame, u"COUNTER", {}, num(i), {});
      EXPECT_FALSE(store.GetValue(frame, u"COUNTER").isEmpty());
      store.GetValue(frame, u"SEEN", idx({num(0), num(kHashKey)}));
      store.PutValue(frame, u"LOCAL", {}, num(i), {});  // a local of this thread's frame
    }
    EXPECT_EQ(store.GetValue(frame, u"LOCAL").toText(), u"1999");
  };
  std::thread first(worker, 0);
  std::thread second(worker, 1);
  first.join();
  second.join();

  for (int i = 0; i < 200; ++i) {
    const ScriptValue v = store.GetValue(store.GlobalScope, u"LIST", idx({num(i)}));
    EXPECT_EQ(v.toText(), formatDouble(kRounds - 100 + i % 100)) << i;
  }
  EXPECT_EQ(store.GlobalScope.hashTables.table(0).count(), 2u * kRounds);
  EXPECT_LT(store.GlobalScope.locals.find(u"LOCAL"), 0);
}

// An object whose release checks that another thread can reach the globals
// meanwhile: releasing an object (a COM Release) may call out or wait for
// another thread, so it must never happen under the store's lock.
class LockProbe : public ScriptObject {
 public:
  LockProbe(GlobalStore& store, std::vector<bool>& results) : store_(store), results_(results) {}
  ~LockProbe() override {
    auto reached = std::make_shared<std::atomic<bool>>(false);
    GlobalStore* store = &store_;
    std::thread([store, reached] {
      THensuFmt frame;
      store->ResolveGlobal(u"G", frame, GlobalKind::Variable);
      *reached = true;
    }).detach();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!*reached && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    results_.push_back(reached->load());
  }
  std::u16string typeName() const override { return u"LockProbe"; }

 private:
  GlobalStore& store_;
  std::vector<bool>& results_;
};

TEST(ValuesThreads, ReplacedObjectsAreReleasedOutsideTheLock) {
  GlobalStore store;
  store.evaluate = [&store](std::u16string_view text, THensuFmt& f) { return evaluateSimple(store, text, f); };
  ASSERT_FALSE(store.DeclareGlobals(u"G, A[1]", false, false));
  store.DeclareHashTable(store.GlobalScope, u"H", 0);
  std::vector<bool> results;
  THensuFmt frame;
  auto probe = [&] { return ScriptValue::object(std::make_shared<LockProbe>(store, results)); };

  store.PutValue(frame, u"G", {}, probe(), {});
  store.PutValue(frame, u"G", {}, num(0), {});  // replaces the object
  store.PutValue(frame, u"A", idx({num(1)}), probe(), {});
  store.PutValue(frame, u"A", idx({num(1)}), num(0), {});
  store.PutValue(frame, u"H", idx({str(u"k")}), probe(), {});
  store.PutValue(frame, u"H", idx({str(u"k")}), num(0), {});
  store.PutValue(frame, u"H", idx({str(u"r")}), probe(), {});
  store.GetValue(frame, u"H", idx({str(u"r"), num(kHashRemove)}));
  store.PutValue(frame, u"H", idx({str(u"c")}), probe(), {});
  store.PutValue(frame, u"H", {}, num(kHashRemoveAll), {});
  EXPECT_EQ(results, std::vector<bool>(5, true));
}

}  // namespace
}  // namespace maqo::engine
