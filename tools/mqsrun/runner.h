#pragma once
#include <string>
#include <vector>

#include "engine/library/builtin_library.h"
#include "platform/platform.h"

namespace maqo::tools {

// The console runner's whole behaviour, apart from how the arguments arrive
// and which builtins the program registered.
int runMqsrun(platform::Platform& platform, const engine::BuiltinLibrary& library,
              const std::vector<std::u16string>& args);

}  // namespace maqo::tools
