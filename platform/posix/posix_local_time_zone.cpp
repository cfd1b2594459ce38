#include "platform/posix/posix_local_time_zone.h"

#include <ctime>

namespace maqo::platform {

std::optional<int64_t> PosixLocalTimeZone::utcSecondsOf(const LocalTime& local) {
  std::tm parts{};
  parts.tm_year = local.year - 1900;
  parts.tm_mon = local.month - 1;
  parts.tm_mday = local.day;
  parts.tm_hour = local.hour;
  parts.tm_min = local.minute;
  parts.tm_sec = local.second;
  parts.tm_isdst = -1;  // let the rules of that date decide
  const time_t seconds = std::mktime(&parts);
  if (seconds == static_cast<time_t>(-1)) return std::nullopt;
  return static_cast<int64_t>(seconds);
}

}  // namespace maqo::platform
