#include "builtins/dispatch.h"

#include "builtins/argument_path.h"
#include "builtins/builtin_messages.h"

namespace maqo::builtins {

namespace {

// The families whose builtins wait before acting (actionDelay: ACW, MMV, BTN,
// KBD) and so need the time since the previous builtin call; the others do
// not read the clock on entry.
bool readsPacing(engine::BuiltinFamily family) {
  return family == engine::BuiltinFamily::Input || family == engine::BuiltinFamily::WindowControl;
}

}  // namespace

engine::ScriptValue DispatchBuiltin(const BuiltinEntry& entry, const engine::CallSite& call, BuiltinHost& host) {
  if (host.checkMode()) return engine::ScriptValue::int32(1);
  if (!entry.implemented()) throw messages::notAvailableYet(entry.name);

  PacingRecord pacing(host, readsPacing(entry.family));
  if (entry.mathPath) return entry.math(entry, CollectMathArguments(call, host), host);

  BuiltinCall record{entry, call, {}, {}, {}, pacing.elapsedMs()};
  if (!CollectArguments(record, call, host)) return engine::ScriptValue::string(u"");
  return entry.function(record, host);
}

}  // namespace maqo::builtins
