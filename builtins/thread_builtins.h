// CTRLTRD(slot, command): suspends, resumes, stops or re-prioritises the
// script thread in a slot (TRD_SUSPEND, TRD_RESUME, TRD_QUIT, TRD_IDLE ..
// TRD_HIGHEST). An unknown slot or command is ignored; the result is 0.
#pragma once
#include "builtins/engine_interface.h"
#include "engine/values/script_value.h"

namespace maqo::builtins {

engine::ScriptValue CtrlTrdBuiltin(BuiltinCall& call, BuiltinHost& host);

}  // namespace maqo::builtins
