// The control-item builtins: CLKITEM, CHKBTN, GETITEM, GETSTR, SENDSTR,
// GETSLIDER, SETSLIDER, GETCTLHND, GETSLCTLST.
#pragma once
#include <span>

#include "builtins/named_builtin.h"

namespace maqo::automation::controls {

using engine::ScriptValue;

ScriptValue Clkitem(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
ScriptValue Chkbtn(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
ScriptValue Getitem(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
ScriptValue Getstr(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
ScriptValue Sendstr(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
ScriptValue Getslider(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
ScriptValue Setslider(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
ScriptValue Getctlhnd(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
ScriptValue Getslctlst(builtins::BuiltinCall& call, builtins::BuiltinHost& host);

std::span<const builtins::NamedBuiltin> ControlBuiltins();

}  // namespace maqo::automation::controls
