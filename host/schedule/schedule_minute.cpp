#include "host/schedule/schedule_minute.h"

#include <cstdio>

#include "engine/values/calendar.h"

namespace maqo::host::schedule {

namespace {

constexpr int64_t kMinutesPerDay = 1440;

int64_t DayOf(const ScheduleMinute& m) { return engine::DaysFromCivil(m.year, m.month, m.day); }

// Floor division, so minutes before 1970 land in the right day.
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

int64_t MinuteNumber(const ScheduleMinute& m) { return DayOf(m) * kMinutesPerDay + m.hour * 60 + m.minute; }

ScheduleMinute MinuteFromNumber(int64_t number) {
  const int64_t days = FloorDiv(number, kMinutesPerDay);
  const int64_t ofDay = number - days * kMinutesPerDay;
  int64_t year = 0, month = 0, day = 0;
  engine::CivilFromDays(days, year, month, day);
  return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), static_cast<int>(ofDay / 60),
          static_cast<int>(ofDay % 60)};
}

int WeekdayOf(const ScheduleMinute& m) {
  // 1970-01-01 was a Thursday.
  return static_cast<int>(((DayOf(m) % 7) + 7 + 4) % 7);
}

int64_t DaysSince2000(const ScheduleMinute& m) { return DayOf(m) - engine::DaysFromCivil(2000, 1, 1); }

int64_t MinutesSince2000(const ScheduleMinute& m) { return DaysSince2000(m) * kMinutesPerDay + m.hour * 60 + m.minute; }

ScheduleMinute MinuteOf(const platform::LocalTime& t) { return {t.year, t.month, t.day, t.hour, t.minute}; }

std::u16string MinuteText(const ScheduleMinute& m) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d", m.year, m.month, m.day, m.hour, m.minute);
  return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

}  // namespace maqo::host::schedule
