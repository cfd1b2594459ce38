// The table of the 134 builtins: names in their fixed order (the position is
// the builtin's number), the family that implements each, the minimum number
// of arguments the pre-run check demands, the raw-text positions and what each
// position accepts when its text is not a number. Kept as data in one place
// (builtin_table.cpp); RegisterCoreBuiltins hands it to the engine's library,
// which the dispatcher and the pre-run check read.
#pragma once
#include <span>
#include <string_view>

#include "builtins/engine_interface.h"

namespace maqo::builtins {

inline constexpr int kBuiltinCount = 134;

// All builtins in table order: BuiltinTable()[i] has number i. Their
// functions are not set here (registration gives them to the library's copies).
std::span<const BuiltinEntry> BuiltinTable();

// The table's builtin of that name (any case; a leading "GLOBAL." is ignored), or null.
const BuiltinEntry* FindBuiltin(std::u16string_view name);
// The number of a builtin of the table (its position).
int BuiltinNumber(const BuiltinEntry& entry);

}  // namespace maqo::builtins
