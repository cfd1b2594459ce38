// A minute of local calendar time, the unit every schedule decision is made
// in, and the calendar arithmetic the due tests and searches need.
#pragma once
#include <cstdint>
#include <string>

#include "platform/system_info.h"

namespace maqo::host::schedule {

struct ScheduleMinute {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
  bool operator==(const ScheduleMinute&) const = default;
};

// Minutes since 1970-01-01 00:00 of the same calendar (no time zone involved);
// consecutive numbers are consecutive minutes.
int64_t MinuteNumber(const ScheduleMinute& m);
ScheduleMinute MinuteFromNumber(int64_t number);

// 0 = Sunday .. 6 = Saturday.
int WeekdayOf(const ScheduleMinute& m);
// Days from 2000-01-01 to the minute's date (negative before it).
int64_t DaysSince2000(const ScheduleMinute& m);
// Minutes since 2000-01-01 00:00: the YMDNN of an expression entry.
int64_t MinutesSince2000(const ScheduleMinute& m);

// The minute a local time falls in (seconds dropped).
ScheduleMinute MinuteOf(const platform::LocalTime& t);

// "yyyy/mm/dd hh:nn".
std::u16string MinuteText(const ScheduleMinute& m);

}  // namespace maqo::host::schedule
