// Argument handling shared by the control builtins.
#pragma once
#include "automation/builtin_support.h"
#include "automation/controls/control_context.h"

namespace maqo::automation::controls {

// The build's controls; the catchable "needs Windows" error where there are none.
inline platform::Controls& ControlsOf(const builtins::BuiltinCall& call) {
  platform::Controls& controls = currentControls();
  if (!controls.available()) throw builtins::messages::needsWindows(call.entry.name);
  return controls;
}

}  // namespace maqo::automation::controls
