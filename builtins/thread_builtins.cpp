#include "builtins/thread_builtins.h"

#include <limits>

#include "engine/exec/thread_record.h"

namespace maqo::builtins {

engine::ScriptValue CtrlTrdBuiltin(BuiltinCall& call, BuiltinHost& host) {
  // Threads exist only in a running script: the check pass has none to
  // control, and a host without a run ignores the call.
  if (host.checkMode()) return engine::ScriptValue::int32(0);
  const int64_t slot = call.integer(0);
  const int64_t command = call.integer(1);
  constexpr int64_t kIntMax = std::numeric_limits<int>::max();
  if (slot >= 0 && slot < engine::kScriptThreadSlots && command > 0 && command <= kIntMax)
    host.controlScriptThread(static_cast<int>(slot), static_cast<int>(command));
  return engine::ScriptValue::int32(0);
}

}  // namespace maqo::builtins
