// Argument handling shared by the control builtins.
#pragma once
#include <algorithm>
#include <cmath>

#include "automation/builtin_support.h"
#include "automation/controls/control_context.h"

namespace maqo::automation::controls {

// The argument as an int, or fallback when it was omitted or is no number.
inline int IntArgument(const builtins::BuiltinCall& call, int index, int fallback) {
  if (auto n = optionalNumber(call, index)) return static_cast<int>(std::clamp(std::trunc(*n), -2e9, 2e9));
  return fallback;
}

// The build's controls; the catchable "needs Windows" error where there are none.
inline platform::Controls& ControlsOf(const builtins::BuiltinCall& call) {
  platform::Controls& controls = currentControls();
  if (!controls.available()) throw builtins::messages::needsWindows(call.entry.name);
  return controls;
}

}  // namespace maqo::automation::controls
