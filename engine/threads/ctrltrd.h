// CTRLTRD(slot, command): suspends, resumes, stops or re-prioritises the
// script thread in a slot (TRD_SUSPEND, TRD_RESUME, TRD_QUIT, TRD_IDLE ..
// TRD_HIGHEST). An unknown slot or command is ignored; the result is 0.
#pragma once
#include "builtins/argument_record.h"
#include "builtins/builtin_host.h"
#include "engine/values/script_value.h"

namespace maqo::engine {

ScriptValue CtrlTrdBuiltin(builtins::BuiltinCall& call, builtins::BuiltinHost& host);

}  // namespace maqo::engine
