// The input builtins of the script language: MMV, BTN, KBD, SCKEY, MOUSEORG,
// LOCKHARD, LOCKHARDEX, GETKEYSTATE, MUSCUR and SETHOTKEY, as a table the
// dispatcher takes them from, and the run driver's release of held input.
// On a build without input devices they raise a catchable error naming the
// builtin.
#pragma once
#include <span>

#include "builtins/named_builtin.h"
#include "platform/platform.h"

namespace maqo::automation {

std::span<const builtins::NamedBuiltin> InputBuiltins();

// Each builtin, for tests and for callers that dispatch by hand.
engine::ScriptValue Mmv(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Btn(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Kbd(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Sckey(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Mouseorg(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Lockhard(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Lockhardex(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Getkeystate(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Muscur(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Sethotkey(builtins::BuiltinCall& call, builtins::BuiltinHost& host);

// The run has ended (normally, by an error, by a stop): nothing the script
// pressed stays down, the input lock and the hot keys go.
void ReleaseInputAtRunEnd(platform::Platform& platform);
// An uncaught error is about to be shown: the user must be able to answer it.
void ReleaseInputLock(platform::Platform& platform);
// The main script paused for window messages: mouse buttons pressed now are noted for GETKEYSTATE.
void NoteMouseButtonsSeen();

}  // namespace maqo::automation
