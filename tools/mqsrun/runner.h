#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"

namespace maqo::tools {

// The console runner's whole behaviour, apart from how the arguments arrive.
int runMqsrun(platform::Platform& platform, const std::vector<std::u16string>& args);

}  // namespace maqo::tools
