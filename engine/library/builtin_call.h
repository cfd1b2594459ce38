// The argument record a builtin receives: for each argument its text, its
// number and its 64-bit integer, the whole values of the first two arguments,
// and the call it came from.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/library/builtin_entry.h"
#include "engine/eval/expression.h"
#include "engine/values/script_value.h"

namespace maqo::engine {

struct BuiltinArgument {
  // The builtin-argument text form of the value, or the text as written at a
  // raw position.
  std::u16string text;
  // The text's number and that number truncated toward zero (clamped to the
  // 64-bit range); both 0 when the text is not a number.
  double number = 0;
  int64_t integer = 0;
  bool isNumber = false;
};

struct BuiltinCall {
  const BuiltinEntry& entry;
  const CallSite& site;
  // The arguments given, at most kMaxBuiltinArguments.
  std::vector<BuiltinArgument> arguments;
  // The values of the first two arguments (Empty when not given; the text as a
  // string at a raw position).
  ScriptValue first, second;
  // Milliseconds since the previous builtin call on the main thread returned
  // (0 to 999); 0 on script threads.
  int pacingMs = 0;

  int count() const { return static_cast<int>(arguments.size()); }
  // Argument index (0-based); a missing one is the empty text with 0.
  const BuiltinArgument& at(int index) const {
    static const BuiltinArgument missing;
    return index >= 0 && index < count() ? arguments[static_cast<size_t>(index)] : missing;
  }
  const std::u16string& text(int index) const { return at(index).text; }
  double number(int index) const { return at(index).number; }
  int64_t integer(int index) const { return at(index).integer; }
};

// The arguments of a math builtin: up to three doubles, 0 when missing.
struct MathArguments {
  double x[3] = {0, 0, 0};
  int count = 0;
};

}  // namespace maqo::engine
