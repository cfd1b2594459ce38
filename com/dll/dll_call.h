// The entry of DEF_DLL calls from the statement executor.
#pragma once
#include <string>

#include "builtins/engine_interface.h"
#include "engine/eval/expression.h"
#include "engine/values/script_value.h"

namespace maqo::com::dll {

// A registered DEF_DLL declaration.
struct DllDeclaration {
  std::u16string name;  // as registered (module-qualified inside a module), in its declared case
  std::u16string text;  // the declaration after the name, e.g. "(HWND, WSTRING): INT: user32.dll"
};

// Calls a declared DLL function. The call site supplies the argument texts
// and their compiled expressions: by-value arguments are evaluated in the
// caller's frame, by-reference and array arguments and structure members
// name the variables that receive results, which are written back through
// the host when the function has returned. Returns the converted return
// value; throws ScriptError for every failure (all catchable).
engine::ScriptValue CallDeclaredFunction(const DllDeclaration& declaration, const engine::CallSite& call,
                                         builtins::BuiltinHost& host);

}  // namespace maqo::com::dll
