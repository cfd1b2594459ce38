// COM objects join a program's builtin library: CREATEOLEOBJ, GETACTIVEOLEOBJ
// and GETOLEITEM, and the object provider that runs member reads, member
// assignments, method calls, WITH and FOR-IN on COM objects.
#pragma once
#include "engine/library/builtin_library.h"

namespace maqo::com::objects {

void RegisterComObjects(engine::BuiltinLibrary& library);

}  // namespace maqo::com::objects
