// SLEEP, GETTIME and EVAL.
#pragma once
#include <string>
#include <string_view>

#include "builtins/engine_interface.h"

namespace maqo::builtins {

// SLEEP(seconds): waits, passing window messages; ends at once on a stop
// request; time does not count while the run is paused.
engine::ScriptValue SleepBuiltin(BuiltinCall& call, BuiltinHost& host);
// GETTIME([days], [date]): sets the frame's time stamp and returns the seconds
// since 2000-01-01 00:00:00.
engine::ScriptValue GetTimeBuiltin(BuiltinCall& call, BuiltinHost& host);
// EVAL(text): evaluates an expression, or runs THREAD, CALL or an assignment.
engine::ScriptValue EvalBuiltin(BuiltinCall& call, BuiltinHost& host);

// n rounds of a zero sleep and one pass over pending window messages.
void MessagePause(platform::Platform& platform, int rounds);

// EVAL's text preparation: indexed members A(1).B become A[1].B, a text in
// one pair of double quotes has its inner quotes written "<#_DBL>", and the
// text is upper-cased outside double quotes.
std::u16string PrepareEvalText(std::u16string_view text);

// A script file name with the script extension: unless it contains ".MQS"
// (any case), ".MQS" is inserted before the last "(" of its file part, or
// appended when there is none.
std::u16string WithScriptExtension(std::u16string_view name);

}  // namespace maqo::builtins
