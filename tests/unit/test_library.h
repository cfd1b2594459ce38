// The builtin library the unit tests use: every family this build links,
// registered once as a program's main would.
#pragma once
#include "engine/library/builtin_library.h"

namespace maqo::tests {

const engine::BuiltinLibrary& TestLibrary();

}  // namespace maqo::tests
