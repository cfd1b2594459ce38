// The builtins of the script's own small windows: LOGPRINT (the log window),
// FUKIDASI and BALLOON (the balloon), STOPFORM (the stop form), with the
// run hooks that write the log file and close the balloons.
#pragma once
#include "builtins/engine_interface.h"

namespace maqo::dialogs {

void RegisterLogWindowBuiltins(engine::BuiltinLibrary& library);

}  // namespace maqo::dialogs
