// The dispatcher of this library's builtins: how one call of a registered
// builtin runs. RegisterCoreBuiltins gives it to the engine's library for
// every entry of the builtin table; the library's entries carry the
// families' functions.
#pragma once
#include "builtins/engine_interface.h"
#include "engine/eval/expression.h"
#include "engine/values/script_value.h"

namespace maqo::builtins {

// Runs the builtin of entry with the arguments of the call and returns its
// result.
//
// The sixteen math builtins evaluate up to three arguments as doubles; every
// other builtin gets the argument record (BuiltinCall in
// engine/library/builtin_call.h): at most 36 arguments, raw-text positions kept
// as written, the others evaluated through host.evaluate and checked against
// the builtin's non-numeric rules.
//
// Throws engine::ScriptError for every failure: an evaluation error of an
// argument passes through unchanged; "Definition is wrong: ", "Is non-numeric: ",
// "SyntaxError-20", too many arguments, the builtins' own errors, and "not
// available yet" for a builtin whose family this program does not link. A
// call that meets a stop request between its arguments ends quietly with the
// empty text. During the check pass (host.checkMode()) nothing runs and the
// result is the integer 1.
engine::ScriptValue DispatchBuiltin(const BuiltinEntry& entry, const engine::CallSite& call, BuiltinHost& host);

}  // namespace maqo::builtins
