#include <chrono>
#include <thread>

#include "platform/posix/posix_platform.h"

namespace maqo::platform {

int64_t PosixClock::monotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void PosixClock::sleepMs(int ms) {
  if (ms <= 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace maqo::platform
