#include "builtins/dispatch.h"

#include "builtins/argument_path.h"
#include "builtins/builtin_messages.h"

namespace maqo::builtins {

namespace {

// Families none of whose builtins waits before acting (actionDelay), so
// their calls need not read the clock for the time since the previous call.
bool readsPacing(engine::BuiltinFamily family) {
  using engine::BuiltinFamily;
  switch (family) {
    case BuiltinFamily::Strings:
    case BuiltinFamily::Arrays:
    case BuiltinFamily::Files:
    case BuiltinFamily::Math:
    case BuiltinFamily::TimeSystem:
    case BuiltinFamily::Threads: return false;
    default: return true;
  }
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
