// Local time to UTC with the time-zone rules in force on the date itself, so
// a moment across a daylight-saving change converts with that date's offset
// rather than today's.
#pragma once
#include <cstdint>
#include <optional>

#include "platform/system_info.h"

namespace maqo::platform {

class LocalTimeZone {
 public:
  virtual ~LocalTimeZone() = default;
  // Seconds since 1970-01-01 00:00 UTC of a local date and time; nothing when
  // it cannot be converted. A local time skipped by a change forward converts
  // as the system's rules place it.
  virtual std::optional<int64_t> utcSecondsOf(const LocalTime& local) = 0;
};

}  // namespace maqo::platform
