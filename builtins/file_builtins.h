// The file and INI builtins: FOPEN, FCLOSE, FGET, FPUT, FDELLINE, DELETEFILE,
// GETDIR, READINI, WRITEINI and DELETEINI, as a table of names and
// functions for the dispatcher's implementation list. The slot table behind
// the first five is in builtins/file_slots.h (CloseAllFileSlots ends a run),
// the shared writers in
// builtins/text_file_writer.h and builtins/ini_file.h.
#pragma once
#include <span>

#include "builtins/string_builtins.h"  // NamedBuiltin

namespace maqo::builtins {

// The ten file and INI builtins (DROPFILE, which works on windows, is in
// automation/windows/drop_file.h).
std::span<const NamedBuiltin> FileBuiltins();

engine::ScriptValue FOpenBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue FCloseBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue FGetBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue FPutBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue FDelLineBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue DeleteFileBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue GetDirBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue ReadIniBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue WriteIniBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue DeleteIniBuiltin(BuiltinCall& call, BuiltinHost& host);

}  // namespace maqo::builtins
