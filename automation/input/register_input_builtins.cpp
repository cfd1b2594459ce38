#include "automation/input/register_input_builtins.h"

#include "automation/input/input_builtins.h"

namespace maqo::automation {

void RegisterInputBuiltins(engine::BuiltinLibrary& library) {
  for (const builtins::NamedBuiltin& b : InputBuiltins()) library.implement(b.name, b.function);
  // No key or button stays pressed after a run, however it ended, and the
  // input lock never outlives it.
  library.addRunHooks(nullptr, [](engine::RunHookContext& run) { ReleaseInputAtRunEnd(run.platform); });
  library.addBeforeErrorShownHook([](engine::RunHookContext& run) { ReleaseInputLock(run.platform); });
  // The main script's pauses note the mouse buttons they see pressed (GETKEYSTATE).
  library.addMessagePauseHook(&NoteMouseButtonsSeen);
}

}  // namespace maqo::automation
