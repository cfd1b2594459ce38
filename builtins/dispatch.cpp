#include "builtins/dispatch.h"

#include <stdexcept>

#include "builtins/argument_path.h"
#include "builtins/builtin_messages.h"
#include "builtins/builtin_table.h"
#include "builtins/implementations.h"

namespace maqo::builtins {

bool IsBuiltinName(std::u16string_view upperName) { return FindBuiltin(upperName) != nullptr; }

engine::ScriptValue CallBuiltin(const engine::CallSite& call, BuiltinHost& host) {
  const BuiltinSpec* spec = FindBuiltin(call.name);
  if (spec == nullptr) throw std::invalid_argument("CallBuiltin: not a builtin name");
  if (host.checkMode()) return engine::ScriptValue::int32(1);
  const BuiltinImplementation* impl = ImplementationOf(BuiltinNumber(*spec));
  if (impl == nullptr) throw messages::notAvailableYet(spec->name);

  PacingRecord pacing(host);
  if (spec->mathPath) return impl->math(*spec, CollectMathArguments(call, host), host);

  BuiltinCall record{*spec, call, {}, {}, {}, pacing.elapsedMs()};
  if (!CollectArguments(record, call, host)) return engine::ScriptValue::string(u"");
  return impl->function(record, host);
}

}  // namespace maqo::builtins
