// The entry points of the builtin library for the call dispatcher (KansuCall):
// whether a name is a builtin, and running a builtin call. The check data of
// each builtin (minimum argument count, raw positions, per-position rules) is
// in builtins/builtin_table.h.
#pragma once
#include <string_view>

#include "builtins/builtin_host.h"
#include "engine/eval/expression.h"
#include "engine/values/script_value.h"

namespace maqo::builtins {

// True when upperName names one of the 134 builtins. A leading "GLOBAL." is
// ignored; the name is compared without regard to case.
bool IsBuiltinName(std::u16string_view upperName);

// Runs the builtin named by call.name (a leading "GLOBAL." is stripped) with
// the arguments of the call and returns its result.
//
// The sixteen math builtins evaluate up to three arguments as doubles; every
// other builtin gets the argument record (BuiltinCall in
// builtins/argument_record.h): at most 36 arguments, raw-text positions kept
// as written, the others evaluated through host.evaluate and checked against
// the builtin's non-numeric rules.
//
// Throws engine::ScriptError for every failure: an evaluation error of an
// argument passes through unchanged; "Definition is wrong: ", "Is non-numeric: ",
// "SyntaxError-20", too many arguments, and the builtins' own errors. A call
// that meets a stop request between its arguments ends quietly with the empty
// text. During the check pass (host.checkMode()) nothing runs and the result is
// the integer 1. Throws std::invalid_argument when call.name is no builtin.
engine::ScriptValue CallBuiltin(const engine::CallSite& call, BuiltinHost& host);

}  // namespace maqo::builtins
