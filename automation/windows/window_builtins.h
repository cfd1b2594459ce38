// The window builtins of the script language: GETID, GETALLWIN, IDTOHND,
// HNDTOID, CTRLWIN, ACW, STATUS, MONITOR and EXEC, as a table the dispatcher
// takes them from. They work on the current AutomationSession's desktop; on a
// build without a desktop they raise a catchable error naming the builtin.
#pragma once
#include <span>

#include "builtins/named_builtin.h"

namespace maqo::automation {

std::span<const builtins::NamedBuiltin> WindowBuiltins();

// Each builtin, for tests and for callers that dispatch by hand.
engine::ScriptValue Getid(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Getallwin(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Idtohnd(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Hndtoid(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Ctrlwin(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Acw(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Status(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Monitor(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Exec(builtins::BuiltinCall& call, builtins::BuiltinHost& host);

}  // namespace maqo::automation
