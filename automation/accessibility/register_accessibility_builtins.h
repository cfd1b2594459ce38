// Registers the point-reading builtin and installs the accessibility engine
// for the control builtins where the system has accessibility trees.
#pragma once
#include "engine/library/builtin_library.h"

namespace maqo::automation {

void RegisterAccessibilityBuiltins(engine::BuiltinLibrary& library);

}  // namespace maqo::automation
