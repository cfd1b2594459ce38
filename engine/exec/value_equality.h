// Whether two values are equal as the "=" operator of expressions decides it
// (text against number, Empty against anything, SAMESTR, locale order), for
// the statements that compare values they already hold (SELECT ... CASE).
#pragma once
#include "engine/eval/eval_host.h"

namespace maqo::engine {

// a = b under the options and text comparison of host. Throws ScriptError when
// the values cannot be compared.
bool ValuesEqual(const ScriptValue& a, const ScriptValue& b, EvalHost& host);

}  // namespace maqo::engine
