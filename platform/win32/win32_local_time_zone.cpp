#include "platform/win32/win32_local_time_zone.h"

#include <windows.h>

namespace maqo::platform {

namespace {

// FILETIME counts 100 ns steps from 1601-01-01; this many lie before 1970.
constexpr int64_t kUnixEpochInFileTime = 116444736000000000LL;

}  // namespace

std::optional<int64_t> Win32LocalTimeZone::utcSecondsOf(const LocalTime& local) {
  SYSTEMTIME localTime{};
  localTime.wYear = static_cast<WORD>(local.year);
  localTime.wMonth = static_cast<WORD>(local.month);
  localTime.wDay = static_cast<WORD>(local.day);
  localTime.wHour = static_cast<WORD>(local.hour);
  localTime.wMinute = static_cast<WORD>(local.minute);
  localTime.wSecond = static_cast<WORD>(local.second);
  localTime.wMilliseconds = static_cast<WORD>(local.millisecond);
  // The dynamic zone carries the rules of every year, so a date in another
  // year (or across a daylight-saving change) gets its own offset, not today's.
  DYNAMIC_TIME_ZONE_INFORMATION zone{};
  SYSTEMTIME utc{};
  const bool converted = GetDynamicTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID
                             ? TzSpecificLocalTimeToSystemTimeEx(&zone, &localTime, &utc) != FALSE
                             : TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utc) != FALSE;
  FILETIME fileTime{};
  if (!converted || !SystemTimeToFileTime(&utc, &fileTime)) return std::nullopt;
  const int64_t ticks = (static_cast<int64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  return (ticks - kUnixEpochInFileTime) / 10000000;
}

}  // namespace maqo::platform
