#include "engine/threads/ctrltrd.h"

#include <limits>

#include "engine/exec/frame_hosts.h"
#include "engine/run/tuscript.h"

namespace maqo::engine {

ScriptValue CtrlTrdBuiltin(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  // Threads exist only in a running script: a declaration evaluated while the
  // program is built, or the check pass, has none to control.
  auto* frameHost = dynamic_cast<FrameBuiltinHost*>(&host);
  if (frameHost == nullptr || host.checkMode()) return ScriptValue::int32(0);
  const int64_t slot = call.integer(0);
  const int64_t command = call.integer(1);
  constexpr int64_t kIntMax = std::numeric_limits<int>::max();
  if (slot >= 0 && slot < kScriptThreadSlots && command > 0 && command <= kIntMax)
    frameHost->executor().engine().ThreadSlots.control(static_cast<int>(slot), static_cast<int>(command));
  return ScriptValue::int32(0);
}

}  // namespace maqo::engine
