// The modal dialog builtins: MSGBOX, INPUT, SLCTBOX and POPUPMENU.
#pragma once
#include "builtins/engine_interface.h"

namespace maqo::dialogs {

void RegisterModalDialogBuiltins(engine::BuiltinLibrary& library);

}  // namespace maqo::dialogs
