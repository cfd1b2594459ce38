// Registration of this library's builtins with the engine's library: the
// whole builtin table (every name the language knows, so the check pass and
// the "not available yet" report work for families this program lacks), the
// functions of the families in builtins/ (strings, arrays, files, math,
// time and system, threads), the builtin constants and special names, and
// the begin-of-run and end-of-run hooks (control word, CPU query, open files).
// Called once at start-up by the program that links the builtins, before
// families outside builtins/ register theirs.
#pragma once
#include "builtins/engine_interface.h"

namespace maqo::builtins {

void RegisterCoreBuiltins(BuiltinLibrary& library);

}  // namespace maqo::builtins
