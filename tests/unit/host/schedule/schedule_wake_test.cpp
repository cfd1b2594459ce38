// Waking the machine for the next timed entry: the minute searched for, the
// lead of 30 seconds, keeping, replacing and cancelling the armed wake-up,
// and the conversion to UTC with the rules of the wake-up's own date.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <string>

#include "host/schedule/schedule_model.h"
#include "host/schedule/wake_planner.h"
#include "platform/text_codec.h"
#if !defined(_WIN32)
#include "platform/posix/posix_local_time_zone.h"
#endif

namespace maqo::host::schedule {
namespace {

// A zone that records the local time asked for and answers it as UTC.
class RecordingZone final : public platform::LocalTimeZone {
 public:
  std::optional<int64_t> utcSecondsOf(const platform::LocalTime& local) override {
    asked = local;
    return 42;
  }
  std::optional<platform::LocalTime> asked;
};

std::vector<CompiledEntry> Entries(std::initializer_list<const char*> texts) {
  std::vector<CompiledEntry> entries;
  for (const char* text : texts) entries.emplace_back(u16(text), ScheduleLanguage::English);
  return entries;
}

TEST(WakeSearch, FirstDueMinuteFromNowPlusOneMinuteFiftyNine) {
  const struct {
    std::initializer_list<const char*> texts;
    platform::LocalTime now;
    std::optional<ScheduleMinute> due;
  } cases[] = {
      {{"1min"}, {2026, 12, 11, 10, 0, 0, 0}, ScheduleMinute{2026, 12, 11, 10, 1}},
      {{"1min"}, {2026, 12, 11, 10, 0, 1, 0}, ScheduleMinute{2026, 12, 11, 10, 2}},
      {{"15min"}, {2026, 12, 11, 10, 13, 0, 0}, ScheduleMinute{2026, 12, 11, 10, 15}},
      {{"15min"}, {2026, 12, 11, 10, 14, 1, 0}, ScheduleMinute{2026, 12, 11, 10, 30}},
      {{"09:30:Month:31"}, {2027, 5, 1, 0, 0, 0, 0}, ScheduleMinute{2027, 5, 31, 9, 30}},
      {{"20270101 00:00:ONESHOT", "12h"}, {2026, 12, 31, 12, 0, 0, 0}, ScheduleMinute{2027, 1, 1, 0, 0}},
      {{"WW=1 AND HH=9 AND NN=0"}, {2026, 12, 11, 10, 0, 0, 0}, ScheduleMinute{2026, 12, 14, 9, 0}},
      // Beyond 32 days, never, or nothing timed: no wake-up.
      {{"20300101 09:05:ONESHOT"}, {2026, 12, 11, 10, 0, 0, 0}, std::nullopt},
      {{"HH=25", "NN MOD 0=0"}, {2026, 12, 11, 10, 0, 0, 0}, std::nullopt},
      {{"STARTS", "EXPIRY", "win:A:", ""}, {2026, 12, 11, 10, 0, 0, 0}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(NextDueMinute(Entries(c.texts), c.now), c.due) << *c.texts.begin();
}

TEST(WakePlanning, WakesThirtySecondsEarlyAndKeepsReplacesOrCancels) {
  RecordingZone zone;
  WakePlanner planner;
  const platform::LocalTime now{2026, 12, 11, 23, 58, 0, 0};
  const auto daily = Entries({"00:00:Day"});

  WakePlan plan = planner.plan(daily, true, now, zone);
  ASSERT_EQ(plan.action, WakePlan::Action::Set);
  EXPECT_EQ(plan.dueMinute, (ScheduleMinute{2026, 12, 12, 0, 0}));
  // 30 s before midnight is still the day before.
  ASSERT_TRUE(zone.asked);
  EXPECT_EQ(zone.asked->day, 11);
  EXPECT_EQ(zone.asked->hour, 23);
  EXPECT_EQ(zone.asked->minute, 59);
  EXPECT_EQ(zone.asked->second, 30);
  EXPECT_EQ(plan.wakeUtcSeconds, 42);

  EXPECT_EQ(planner.plan(daily, true, now, zone).action, WakePlan::Action::Keep);
  EXPECT_EQ(planner.plan(Entries({"23:00:Day"}), true, now, zone).action, WakePlan::Action::Set);
  // WakeUp off or the entry deleted: the armed wake-up is cancelled, and a
  // later plan arms it afresh.
  EXPECT_EQ(planner.plan(daily, false, now, zone).action, WakePlan::Action::Cancel);
  EXPECT_EQ(planner.plan(daily, true, now, zone).action, WakePlan::Action::Set);
  EXPECT_EQ(planner.plan(Entries({""}), true, now, zone).action, WakePlan::Action::Cancel);
}

#if !defined(_WIN32)
// Sets TZ for one test and puts the old value back.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~ScopedTimeZone() {
    if (old_) ::setenv("TZ", old_->c_str(), 1);
    else ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::optional<std::string> old_;
};

TEST(WakeTimeZone, LocalWakeTimeConvertsWithTheRulesOfItsOwnDate) {
  ScopedTimeZone newYork("America/New_York");
  platform::PosixLocalTimeZone zone;
  const auto utcOf = [](int year, int month, int day, int hour) {
    std::tm t{};
    t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day, t.tm_hour = hour;
    return static_cast<int64_t>(::timegm(&t));
  };
  EXPECT_EQ(zone.utcSecondsOf({2027, 7, 1, 12, 0, 0, 0}), utcOf(2027, 7, 1, 16));   // summer time
  EXPECT_EQ(zone.utcSecondsOf({2027, 1, 15, 12, 0, 0, 0}), utcOf(2027, 1, 15, 17));  // standard time
  // The day of the change: before 02:00 standard, after it summer time.
  EXPECT_EQ(zone.utcSecondsOf({2027, 3, 14, 1, 0, 0, 0}), utcOf(2027, 3, 14, 6));
  EXPECT_EQ(zone.utcSecondsOf({2027, 3, 14, 4, 0, 0, 0}), utcOf(2027, 3, 14, 8));

  // The planner hands its wake-up time to the zone.
  WakePlanner planner;
  const WakePlan plan = planner.plan(Entries({"12:00:Day"}), true, {2027, 7, 1, 8, 0, 0, 0}, zone);
  ASSERT_EQ(plan.action, WakePlan::Action::Set);
  EXPECT_EQ(plan.wakeUtcSeconds, utcOf(2027, 7, 1, 16) - 30);
}
#endif

}  // namespace
}  // namespace maqo::host::schedule
