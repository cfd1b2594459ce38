#include "engine/threads/thread_control.h"

#include "engine/threads/thread_slots.h"
#include "platform/thread_support.h"

namespace maqo::engine {

void ApplyThreadPriority(int command) {
  using platform::ThreadPriority;
  ThreadPriority priority = ThreadPriority::Normal;
  switch (command) {
    case kTrdIdle: priority = ThreadPriority::Idle; break;
    case kTrdLowest: priority = ThreadPriority::Lowest; break;
    case kTrdLower: priority = ThreadPriority::Lower; break;
    case kTrdNormal: priority = ThreadPriority::Normal; break;
    case kTrdHigher: priority = ThreadPriority::Higher; break;
    case kTrdHighest: priority = ThreadPriority::Highest; break;
    default: return;
  }
  // A refused raise leaves the thread as it was; the script is not told.
  (void)platform::SetCurrentThreadPriority(priority);
}

}  // namespace maqo::engine
