#include "platform/script_windows.h"

namespace maqo::platform {

// The native build has no windows: the script's windows are accepted and not shown.
ScriptWindows& buildScriptWindows() {
  static NoScriptWindows none;
  return none;
}

}  // namespace maqo::platform
