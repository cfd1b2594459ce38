#include <objbase.h>
#include <windows.h>

#include "platform/thread_support.h"

namespace maqo::platform {

ThreadComScope::ThreadComScope() {
  // S_FALSE (already initialised in this apartment) also needs its CoUninitialize.
  initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
}

ThreadComScope::~ThreadComScope() {
  if (initialised_) CoUninitialize();
}

bool SetCurrentThreadPriority(ThreadPriority priority) {
  int level = THREAD_PRIORITY_NORMAL;
  switch (priority) {
    case ThreadPriority::Idle: level = THREAD_PRIORITY_IDLE; break;
    case ThreadPriority::Lowest: level = THREAD_PRIORITY_LOWEST; break;
    case ThreadPriority::Lower: level = THREAD_PRIORITY_BELOW_NORMAL; break;
    case ThreadPriority::Normal: level = THREAD_PRIORITY_NORMAL; break;
    case ThreadPriority::Higher: level = THREAD_PRIORITY_ABOVE_NORMAL; break;
    case ThreadPriority::Highest: level = THREAD_PRIORITY_HIGHEST; break;
  }
  return SetThreadPriority(GetCurrentThread(), level) != 0;
}

}  // namespace maqo::platform
