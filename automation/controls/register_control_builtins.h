// Registers the control-item builtins with a builtin library.
#pragma once
#include "engine/library/builtin_library.h"

namespace maqo::automation {

void RegisterControlBuiltins(engine::BuiltinLibrary& library);

}  // namespace maqo::automation
