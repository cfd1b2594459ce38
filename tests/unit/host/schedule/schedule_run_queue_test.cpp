// The queue of due entries and the command of a separate-process start.
#include <gtest/gtest.h>

#include <set>

#include "host/schedule/schedule_run_queue.h"

namespace maqo::host::schedule {
namespace {

TEST(ScheduleRunQueueOrder, WaitsWhileBusyUnlessSeparateAndClearsOnDoubleStop) {
  const std::set<int> separate{2};
  const auto isSeparate = [&](int entry) { return separate.count(entry) > 0; };
  ScheduleRunQueue queue;
  EXPECT_EQ(queue.enqueue({2, 0, 2}), 2);
  EXPECT_EQ(queue.enqueue({0, 5}), 1);
  EXPECT_EQ(queue.entries(), (std::vector<int>{2, 0, 5}));

  EXPECT_EQ(queue.takeStartable(true, isSeparate), 2);  // a new process may start while busy
  EXPECT_EQ(queue.takeStartable(true, isSeparate), std::nullopt);
  EXPECT_EQ(queue.entries(), (std::vector<int>{0, 5}));
  EXPECT_EQ(queue.takeStartable(false, isSeparate), 0);

  EXPECT_FALSE(queue.applyStopLevel(19));
  EXPECT_TRUE(queue.applyStopLevel(20));
  EXPECT_TRUE(queue.empty());
  EXPECT_EQ(queue.takeStartable(false, isSeparate), std::nullopt);
}

TEST(ScheduleRunQueueOrder, SurvivesARestart) {
  ScheduleRunQueue before;
  before.enqueue({3, 1});
  ScheduleRunQueue after;
  std::vector<std::u16string> items = before.savedItems();
  items.push_back(u"x");
  items.push_back(u"40");  // beyond the table
  items.push_back(u"1");   // already queued
  after.restore(items, 40);
  EXPECT_EQ(after.entries(), (std::vector<int>{3, 1}));
}

TEST(SeparateProcessStart, CommandUsesTheRunningExecutableQuotedOnce) {
  const std::u16string exe = u"C:\\Tools\\my maqo\\maqo.exe";
  const struct {
    const char16_t* target;
    std::optional<std::u16string> command;
  } cases[] = {
      {u"C:\\s\\job.mqs", u"\"C:\\Tools\\my maqo\\maqo.exe\" \"C:\\s\\job.mqs\""},
      {u" C:\\s\\job.MQS a b -R 3 ", u"\"C:\\Tools\\my maqo\\maqo.exe\" \"C:\\s\\job.MQS\" a b -R 3"},
      {u"\"C:\\my s\\job.mqs\" x", u"\"C:\\Tools\\my maqo\\maqo.exe\" \"C:\\my s\\job.mqs\" x"},
      {u"notepad.exe", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SeparateProcessCommand(exe, c.target), c.command);
}

}  // namespace
}  // namespace maqo::host::schedule
