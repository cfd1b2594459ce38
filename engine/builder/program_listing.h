// The built program as text, one line per program line: its index, its
// statement kind and its text, separated by tabs. For tools and tests.
#pragma once
#include <string>
#include <vector>

#include "engine/builder/program.h"

namespace maqo::engine {

std::u16string ProgramLineListing(const Program& program, int line);
std::vector<std::u16string> ProgramListing(const Program& program);

}  // namespace maqo::engine
