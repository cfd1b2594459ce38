// The system time zone's rules, dynamic ones included, applied for the date
// being converted.
#pragma once
#include "platform/local_time_zone.h"

namespace maqo::platform {

class Win32LocalTimeZone final : public LocalTimeZone {
 public:
  std::optional<int64_t> utcSecondsOf(const LocalTime& local) override;
};

}  // namespace maqo::platform
