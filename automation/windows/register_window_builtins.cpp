#include "automation/automation_session.h"
#include "automation/windows/drop_file.h"
#include "automation/windows/window_builtins.h"

namespace maqo::automation {

void RegisterWindowBuiltins(engine::BuiltinLibrary& library) {
  for (const builtins::NamedBuiltin& b : WindowBuiltins()) library.implement(b.name, b.function);
  library.implement(u"DROPFILE", &DropFileBuiltin);
  // The window IDs of one run mean nothing to the next one.
  library.addRunHooks([](engine::RunHookContext&) { BeginRun(); }, [](engine::RunHookContext&) { EndRun(); });
}

}  // namespace maqo::automation
