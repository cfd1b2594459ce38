// Calendar arithmetic for GETTIME: moments as milliseconds since 0001-01-01
// 00:00 in the proleptic Gregorian calendar (local time, no time zones).
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/values/frame.h"
#include "platform/system_info.h"

namespace maqo::builtins {

inline constexpr int64_t kMsPerDay = 86400000;

// Days since 0001-01-01 of a calendar date (month 1..12, day 1..31 unchecked).
int64_t DayNumber(int year, int month, int day);
// True when the date exists (year 1..9999).
bool IsValidDate(int year, int month, int day);

// A moment from its fields; nothing when the date or time does not exist.
std::optional<int64_t> MomentOf(const platform::LocalTime& t);
// The fields of a moment (years 1..9999); nothing outside that range.
std::optional<engine::TimeStamp> StampOf(int64_t moment);

// The date text of GETTIME: "/", "-", ":" and spaces are left out; then
// characters 1-4 are the year, 5-6 the month, 7-8 the day and, when present,
// 9-10 the hour, 11-12 the minute and 13-14 the second. Every digit group the
// separators leave must end on one of those field boundaries, so 2000/1/15 is
// refused rather than read as 2000-11-05. Nothing when the text is no valid
// date and time.
std::optional<int64_t> ParseDateText(std::u16string_view text);

}  // namespace maqo::builtins
