// The C library's time-zone rules (the TZ variable or the system zone).
#pragma once
#include "platform/local_time_zone.h"

namespace maqo::platform {

class PosixLocalTimeZone final : public LocalTimeZone {
 public:
  std::optional<int64_t> utcSecondsOf(const LocalTime& local) override;
};

}  // namespace maqo::platform
