// DEF_DLL calls join a program's builtin library: the library's DLL provider
// runs them and the end-of-run hook frees the DLLs a run loaded.
#pragma once
#include "engine/library/builtin_library.h"

namespace maqo::com::dll {

void RegisterDllCalls(engine::BuiltinLibrary& library);

}  // namespace maqo::com::dll
