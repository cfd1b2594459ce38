// A block of an array that was resolved (for FOR-IN and the array builtins)
// is copied under the store's lock, and never past the end of the array as it
// is then: another script thread may have resized it in between.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/unit/engine/values/values_test_support.h"

namespace maqo::engine {
namespace {

using namespace values_test;

std::vector<std::u16string> texts(const std::vector<ScriptValue>& values) {
  std::vector<std::u16string> out;
  for (const ScriptValue& v : values) out.push_back(v.toDisplayText());
  return out;
}

class ValuesThreadArrays : public StoreTest {
 protected:
  ValuesThreadArrays() { declareArrays(); }
  // A global G[2][2] holding 0 .. 8 and a local L[3] holding 10 .. 13.
  void declareArrays() {
    store.ResetProgram();
    frame.locals.clear();
    EXPECT_FALSE(store.DeclareGlobals(u"G[2][2] = 0, 1, 2, 3, 4, 5, 6, 7, 8", false, false));
    const int64_t local[] = {3};
    const int slot = store.DeclareLocal(frame, u"L", local);
    for (int i = 0; i < 4; ++i) frame.locals.slot(slot).values[static_cast<size_t>(i)] = num(10 + i);
  }
  // Resizes a declared array as RESIZE does: its first dimension changes.
  void resize(std::u16string_view name, int64_t upper, bool global) {
    auto reshape = [&](THensuFmt& owner) {
      VariableSlot& slot = owner.locals.slot(owner.locals.find(name));
      std::vector<int64_t> bounds = slot.upperBounds;
      bounds[0] = upper;
      slot.reshape(bounds, name);
    };
    if (global) {
      store.withGlobals(reshape);
    } else {
      reshape(frame);
    }
  }
};

TEST_F(ValuesThreadArrays, BlocksAreCopiedAsTheArrayIsNow) {
  struct Case {
    const char16_t* reference;
    int64_t newUpper;  // -2: left as it is
    std::vector<std::u16string> expected;
  };
  const Case cases[] = {
      {u"G", -2, {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"}},
      {u"G[1]", -2, {u"3", u"4", u"5"}},
      {u"G", 0, {u"0", u"1", u"2"}},  // shrunk after it was resolved
      {u"G[2]", 1, {}},               // the row is gone
      {u"G[1]", 1, {u"3", u"4", u"5"}},
      {u"L", -2, {u"10", u"11", u"12", u"13"}},
      {u"L", 1, {u"10", u"11"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.reference));
    declareArrays();
    const ArrayArgument block = store.ResolveArrayArgument(c.reference, frame);
    ASSERT_GE(block.slot, 0);
    if (c.newUpper != -2) resize(c.reference[0] == u'G' ? u"G" : u"L", c.newUpper, block.global);
    EXPECT_EQ(texts(store.CopyArrayBlock(frame, block)), c.expected);
  }
}

TEST_F(ValuesThreadArrays, ReadersNeverSeePastAnArrayAnotherThreadResizes) {
  std::atomic<bool> done{false};
  std::thread resizer([&] {
    for (int round = 0; round < 2000; ++round) resize(u"G", round % 2 == 0 ? 0 : 400, true);
    done = true;
  });
  THensuFmt reader;
  size_t largest = 0;
  while (!done.load()) {
    const ArrayArgument block = store.ResolveArrayArgument(u"G", reader);
    const std::vector<ScriptValue> elements = store.CopyArrayBlock(reader, block);
    largest = std::max(largest, elements.size());
    ASSERT_LE(elements.size(), block.count);
    if (!elements.empty()) {
      EXPECT_EQ(elements[0].toDisplayText(), u"0");
    }
  }
  resizer.join();
  EXPECT_LE(largest, 401u * 3u);
}

}  // namespace
}  // namespace maqo::engine
