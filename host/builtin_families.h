// Every builtin family this product has, registered with one library: the
// one list that mqsrun, the test programs and the host application share, so
// no program runs with a family missing.
#pragma once
#include "engine/library/builtin_library.h"

namespace maqo::host {

void RegisterAllBuiltinFamilies(engine::BuiltinLibrary& library);

}  // namespace maqo::host
