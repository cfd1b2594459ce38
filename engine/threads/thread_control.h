// What a script thread does between two statements about CTRLTRD: it takes
// on a priority it was given, and while it is suspended it waits there.
#pragma once
#include <chrono>
#include <mutex>

#include "engine/exec/thread_record.h"

namespace maqo::engine {

// True when CTRLTRD left something for the thread to do.
inline bool HasThreadControl(const TMainTrd& record) {
  return record.controlState.load(std::memory_order_relaxed) == 1 ||
         record.priorityRequest.load(std::memory_order_relaxed) != 0;
}

// Applies a requested priority, then waits while the thread is suspended and
// stopping() is false. A resume, a quit or wakeUp() end the wait at once;
// stopping() is also looked at every 50 ms, for stop flags raised without a
// wake-up.
template <typename Stopping>
void ObeyThreadControl(TMainTrd& record, Stopping stopping);

// Sets the calling thread's priority from a TRD_ priority command.
void ApplyThreadPriority(int command);

template <typename Stopping>
void ObeyThreadControl(TMainTrd& record, Stopping stopping) {
  if (const int priority = record.priorityRequest.exchange(0); priority != 0) ApplyThreadPriority(priority);
  std::unique_lock guard(record.controlLock);
  while (record.controlState.load() == 1 && !stopping())
    record.controlChanged.wait_for(guard, std::chrono::milliseconds(50));
}

}  // namespace maqo::engine
