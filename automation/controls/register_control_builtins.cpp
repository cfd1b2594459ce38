#include "automation/controls/register_control_builtins.h"

#include "automation/controls/control_builtins.h"

namespace maqo::automation {

void RegisterControlBuiltins(engine::BuiltinLibrary& library) {
  for (const builtins::NamedBuiltin& b : controls::ControlBuiltins()) library.implement(b.name, b.function);
}

}  // namespace maqo::automation
