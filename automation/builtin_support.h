// Helpers shared by the window builtins' argument handling.
#pragma once
#include <optional>

#include "automation/automation_context.h"
#include "builtins/engine_interface.h"
#include "builtins/builtin_messages.h"

namespace maqo::automation {

// The call's context; throws the catchable "needs Windows" error naming the
// builtin when the build has no desktop.
AutomationContext desktopContext(builtins::BuiltinCall& call, builtins::BuiltinHost& host);

// The argument's number, or nothing when it was omitted or is not a number.
std::optional<double> optionalNumber(const builtins::BuiltinCall& call, int index);
// A number as an int: truncated and held within ±2e9.
int ClampedInt(double value);
// The argument as a clamped int, or nothing when it was omitted or is no number.
std::optional<int> optionalInt(const builtins::BuiltinCall& call, int index);
// The same, with fallback for nothing.
inline int IntArgument(const builtins::BuiltinCall& call, int index, int fallback = 0) {
  return optionalInt(call, index).value_or(fallback);
}

}  // namespace maqo::automation
