// The math builtins: the sixteen of the math path (INT ... ARCTAN), and
// RANDOM and SET8087CW, which take the argument record.
#pragma once
#include "builtins/engine_interface.h"
#include "builtins/builtin_state.h"

namespace maqo::builtins {

// INT, ABS, ZCUT, ROUND, SQRT, POWER, SIN, COS, TAN, EXP, LN, LOGN, CEIL,
// ARCSIN, ARCCOS, ARCTAN by entry.name. Floating-point faults are checked in
// software against the script's control word: an unmasked fault throws the
// catchable "KansuCall:" error, a masked one leaves NaN or infinity.
engine::ScriptValue MathBuiltin(const BuiltinEntry& entry, const MathArguments& args, BuiltinHost& host);
// The same without a host, for a given control word.
engine::ScriptValue ComputeMath(std::u16string_view name, const MathArguments& args, const FloatingPointControl& fpu);

// RANDOM([n]): an integer 0 <= r < n, or without n a fraction 0 <= r < 1.
engine::ScriptValue RandomBuiltin(BuiltinCall& call, BuiltinHost& host);
// SET8087CW([word]): sets the script's control word; 0 or none restores the start-up word.
engine::ScriptValue Set8087CwBuiltin(BuiltinCall& call, BuiltinHost& host);

}  // namespace maqo::builtins
