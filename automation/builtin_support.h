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

}  // namespace maqo::automation
