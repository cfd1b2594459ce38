#include "builtins/date_time.h"

#include <string>

#include "engine/values/calendar.h"

namespace maqo::builtins {

namespace {

const int64_t kDayOne = engine::DaysFromCivil(1, 1, 1);

bool isSeparator(char16_t c) { return c == u'/' || c == u'-' || c == u':' || c == u' '; }

int fieldValue(const std::u16string& digits, size_t from) {
  return (digits[from] - u'0') * 10 + (digits[from + 1] - u'0');
}

}  // namespace

int64_t DayNumber(int year, int month, int day) { return engine::DaysFromCivil(year, month, day) - kDayOne; }

bool IsValidDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = month == 2 && leap ? 29 : kDays[month - 1];
  return day <= last;
}

std::optional<int64_t> MomentOf(const platform::LocalTime& t) {
  if (!IsValidDate(t.year, t.month, t.day)) return std::nullopt;
  if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59 ||
      t.millisecond < 0 || t.millisecond > 999)
    return std::nullopt;
  return DayNumber(t.year, t.month, t.day) * kMsPerDay + ((t.hour * 60 + t.minute) * 60 + t.second) * 1000LL +
         t.millisecond;
}

std::optional<engine::TimeStamp> StampOf(int64_t moment) {
  if (moment < 0) return std::nullopt;
  const int64_t days = moment / kMsPerDay;
  int64_t msOfDay = moment % kMsPerDay;
  int64_t year = 0, month = 0, day = 0;
  engine::CivilFromDays(days + kDayOne, year, month, day);
  if (year < 1 || year > 9999) return std::nullopt;
  engine::TimeStamp s;
  s.year = static_cast<uint16_t>(year);
  s.month = static_cast<uint16_t>(month);
  s.day = static_cast<uint16_t>(day);
  s.millisecond = static_cast<uint16_t>(msOfDay % 1000);
  msOfDay /= 1000;
  s.second = static_cast<uint16_t>(msOfDay % 60);
  msOfDay /= 60;
  s.minute = static_cast<uint16_t>(msOfDay % 60);
  s.hour = static_cast<uint16_t>(msOfDay / 60);
  // 0001-01-01 was a Monday.
  s.dayOfWeek = static_cast<uint16_t>((days + 1) % 7);
  return s;
}

std::optional<int64_t> ParseDateText(std::u16string_view text) {
  std::u16string digits;
  size_t groupStart = 0;
  auto groupEndsOnField = [&](size_t end) {
    return end == groupStart || end == 4 || end == 6 || end == 8 || end == 10 || end == 12 || end == 14;
  };
  for (char16_t c : text) {
    if (isSeparator(c)) {
      if (!groupEndsOnField(digits.size())) return std::nullopt;
      groupStart = digits.size();
      continue;
    }
    if (c < u'0' || c > u'9') return std::nullopt;
    digits += c;
  }
  const size_t n = digits.size();
  if (n != 8 && n != 10 && n != 12 && n != 14) return std::nullopt;
  platform::LocalTime t;
  t.year = fieldValue(digits, 0) * 100 + fieldValue(digits, 2);
  t.month = fieldValue(digits, 4);
  t.day = fieldValue(digits, 6);
  if (n >= 10) t.hour = fieldValue(digits, 8);
  if (n >= 12) t.minute = fieldValue(digits, 10);
  if (n >= 14) t.second = fieldValue(digits, 12);
  return MomentOf(t);
}

}  // namespace maqo::builtins
