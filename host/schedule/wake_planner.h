// When to wake the machine for the next timed entry. The search starts at the
// first whole minute at least 1 minute 59 seconds ahead and steps minute by
// minute over 32 days; the wake-up is 30 seconds before the first minute at
// which any entry is due. The planner remembers what it armed, so the caller
// knows whether to keep, replace or cancel its wake-up timer: a deleted entry
// or WakeUp turned off cancels it rather than leaving an old timer running.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "host/schedule/schedule_entry.h"
#include "platform/local_time_zone.h"
#include "platform/system_info.h"

namespace maqo::host::schedule {

inline constexpr int kWakeSearchDays = 32;
inline constexpr int kWakeLeadSeconds = 30;

// The first minute from `after` on (inclusive) over the search span at which
// any entry is due; quiet, marks nothing. Safe on a worker thread over a copy
// of the entries.
std::optional<ScheduleMinute> NextDueMinute(const std::vector<CompiledEntry>& entries, const platform::LocalTime& now);

struct WakePlan {
  enum class Action { Keep, Set, Cancel } action = Action::Cancel;
  ScheduleMinute dueMinute;           // Set and Keep: the minute the wake-up is for
  platform::LocalTime wakeLocal;      // Set: due minute minus 30 seconds, local time
  std::optional<int64_t> wakeUtcSeconds;  // Set: the same moment in UTC
};

class WakePlanner {
 public:
  WakePlan plan(const std::vector<CompiledEntry>& entries, bool wakeUpOn, const platform::LocalTime& now,
                platform::LocalTimeZone& zone);

 private:
  std::optional<ScheduleMinute> armed_;
};

}  // namespace maqo::host::schedule
