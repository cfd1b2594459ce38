// Time for the engine: a monotonic clock for waits and the wall clock for
// time stamps. Every wait in the engine goes through here so tests can use a
// fake clock.
#pragma once
#include <cstdint>

namespace maqo::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds from an arbitrary start; never goes backwards.
  virtual int64_t monotonicMs() = 0;
  // Sleeps the calling thread; 0 yields the rest of the time slice.
  virtual void sleepMs(int ms) = 0;
};

}  // namespace maqo::platform
