// POSACC: what lies at a point of a window, read from the accessibility
// element there (its text, name, value, role, state, description, location
// or help).
#pragma once
#include "builtins/named_builtin.h"

namespace maqo::automation::accessibility {

engine::ScriptValue Posacc(builtins::BuiltinCall& call, builtins::BuiltinHost& host);

}  // namespace maqo::automation::accessibility
