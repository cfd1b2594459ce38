// The window builtins of the script language: GETID, GETALLWIN, IDTOHND,
// HNDTOID, CTRLWIN, ACW, STATUS, MONITOR and EXEC, and DROPFILE, registered
// with the engine's library by RegisterWindowBuiltins. They work on the
// current AutomationSession's desktop; on a build without a desktop they
// raise a catchable error naming the builtin.
#pragma once
#include <span>

#include "builtins/named_builtin.h"

namespace maqo::automation {

std::span<const builtins::NamedBuiltin> WindowBuiltins();

// Gives the window builtins and DROPFILE their functions in the library
// (after RegisterCoreBuiltins added the builtin table) and adds the hooks that
// empty the automation session (window IDs, slot memory) when a run starts
// and when it ends.
void RegisterWindowBuiltins(engine::BuiltinLibrary& library);

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
