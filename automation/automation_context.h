// What the window logic needs for one call: the desktop, the session, the
// clock and message pump, whether the run is stopping, and who is calling.
#pragma once
#include <functional>

#include "automation/automation_session.h"
#include "platform/desktop.h"
#include "platform/platform.h"

namespace maqo::engine {
class BuiltinHost;
}
namespace maqo::builtins {
using engine::BuiltinHost;
}

namespace maqo::automation {

struct AutomationContext {
  platform::Desktop& desktop;
  AutomationSession& session;
  platform::Platform& platform;
  std::function<bool()> stopping;
  bool mainThread = true;
  int threadSlot = -1;  // -1: the main script

  bool stopRequested() const { return stopping && stopping(); }
  SlotWindowMemory& memory() { return session.memory(threadSlot); }
  int64_t now() { return platform.clock.monotonicMs(); }
};

// The context of a builtin call: the current session and the host's platform,
// stop flag, thread and slot.
AutomationContext contextOf(builtins::BuiltinHost& host);

}  // namespace maqo::automation
