// Which function runs each builtin. The families add their functions to the
// list in implementations.cpp; a builtin without one reports that it is not
// available yet.
#pragma once
#include "builtins/argument_record.h"
#include "builtins/builtin_host.h"
#include "builtins/builtin_table.h"
#include "engine/values/script_value.h"

namespace maqo::builtins {

// A builtin of the argument path.
using BuiltinFunction = engine::ScriptValue (*)(BuiltinCall& call, BuiltinHost& host);
// A builtin of the math path.
using MathFunction = engine::ScriptValue (*)(const BuiltinSpec& spec, const MathArguments& args, BuiltinHost& host);

struct BuiltinImplementation {
  BuiltinFunction function = nullptr;  // argument path
  MathFunction math = nullptr;         // math path
};

// The implementation of the builtin with that number, or null when its family
// is not there yet.
const BuiltinImplementation* ImplementationOf(int number);

}  // namespace maqo::builtins
