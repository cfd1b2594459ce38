// The input builtins join a program's builtin library, with the hooks that
// release what a run pressed or locked.
#pragma once
#include "engine/library/builtin_library.h"

namespace maqo::automation {

void RegisterInputBuiltins(engine::BuiltinLibrary& library);

}  // namespace maqo::automation
