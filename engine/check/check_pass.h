// The pre-run check pass: before a script runs for the first time after one of
// its files changed, every function body is walked once without executing it
// and the first error is reported: build errors left as error-marker lines,
// undefined or misused variables, wrong argument counts, misplaced BREAK and
// CONTINUE, unbalanced WITH, non-numeric FOR limits and so on.
//
// Expressions are evaluated through the real compiled expression trees with a
// host that checks every variable read, call and COM member and answers it
// with the integer 1 (a builtin string constant with its text). Nothing runs:
// no builtin, user function, DLL or COM member is called, no frame or global
// is written, no run-time cache is filled. The names a function declares live
// in the pass's own check frame only.
#pragma once
#include <optional>

#include "engine/builder/program.h"
#include "engine/errors/script_error.h"
#include "engine/values/global_store.h"
#include "platform/locale.h"

namespace maqo::engine {

class BuiltinLibrary;
class Executor;

// What the check pass reads; it changes none of it.
struct CheckScope {
  const Program& program;
  const GlobalStore& store;
  // Function lookup exactly as calls do it (modules, THIS., GLOBAL., WITH).
  const Executor& executor;
  // The evaluator's text comparisons.
  platform::Locale& locale;
  // The builtins: their names and argument shapes.
  const BuiltinLibrary& library;
};

// The first error found: its message and where it is shown, as the line of
// the function whose header is headerLine.
struct CheckFailure {
  Message message;
  int headerLine = 0;
  int line = 0;
};

// CheckAllFunctions: checks every function of the program in the order of
// FuncNames (the main part, the procedures of CALLed files, the functions,
// and the entries that lead to errors at module level), then makes sure no
// error-marker line outside those bodies is left unreported. Returns the
// first error, or nothing when the program may run.
std::optional<CheckFailure> CheckAllFunctions(const CheckScope& scope);

}  // namespace maqo::engine
