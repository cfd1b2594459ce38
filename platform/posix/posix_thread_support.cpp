#include <sys/resource.h>
#include <unistd.h>

#include "platform/thread_support.h"

#ifdef __linux__
#include <sys/syscall.h>
#endif

namespace maqo::platform {

// There is no COM here: nothing to initialise.
ThreadComScope::ThreadComScope() = default;
ThreadComScope::~ThreadComScope() = default;

bool SetCurrentThreadPriority(ThreadPriority priority) {
#ifdef __linux__
  // Linux keeps a nice value per thread: the one of the calling thread changes.
  int nice = 0;
  switch (priority) {
    case ThreadPriority::Idle: nice = 19; break;
    case ThreadPriority::Lowest: nice = 10; break;
    case ThreadPriority::Lower: nice = 5; break;
    case ThreadPriority::Normal: nice = 0; break;
    case ThreadPriority::Higher: nice = -5; break;
    case ThreadPriority::Highest: nice = -10; break;
  }
  const auto self = static_cast<id_t>(syscall(SYS_gettid));
  return setpriority(PRIO_PROCESS, self, nice) == 0;
#else
  (void)priority;
  return false;
#endif
}

}  // namespace maqo::platform
