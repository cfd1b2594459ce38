#include "host/schedule/wake_planner.h"

#include <algorithm>

namespace maqo::host::schedule {

namespace {

constexpr int64_t kSearchStartSeconds = 119;  // 1 minute 59 seconds

}  // namespace

std::optional<ScheduleMinute> NextDueMinute(const std::vector<CompiledEntry>& entries, const platform::LocalTime& now) {
  std::vector<const CompiledEntry*> timed;
  for (const CompiledEntry& entry : entries)
    if (entry.timed()) timed.push_back(&entry);
  if (timed.empty()) return std::nullopt;
  const int64_t nowSeconds = MinuteNumber(MinuteOf(now)) * 60 + now.second;
  const int64_t first = (nowSeconds + kSearchStartSeconds) / 60;
  const int64_t end = first + int64_t{kWakeSearchDays} * 1440;
  for (int64_t number = first; number < end; ++number) {
    const ScheduleMinute m = MinuteFromNumber(number);
    for (const CompiledEntry* entry : timed)
      if (entry->dueAt(m).due) return m;
  }
  return std::nullopt;
}

WakePlan WakePlanner::plan(const std::vector<CompiledEntry>& entries, bool wakeUpOn, const platform::LocalTime& now,
                           platform::LocalTimeZone& zone) {
  WakePlan result;
  const std::optional<ScheduleMinute> due = wakeUpOn ? NextDueMinute(entries, now) : std::nullopt;
  if (!due) {
    armed_.reset();
    result.action = WakePlan::Action::Cancel;
    return result;
  }
  result.dueMinute = *due;
  if (armed_ == due) {
    result.action = WakePlan::Action::Keep;
    return result;
  }
  armed_ = due;
  result.action = WakePlan::Action::Set;
  const ScheduleMinute before = MinuteFromNumber(MinuteNumber(*due) - 1);
  result.wakeLocal = {before.year, before.month, before.day, before.hour, before.minute, 60 - kWakeLeadSeconds, 0};
  result.wakeUtcSeconds = zone.utcSecondsOf(result.wakeLocal);
  return result;
}

}  // namespace maqo::host::schedule
