// Whether this build can run a builtin, for `mqsrun --builtins`: built and
// usable, built but dependent on the Windows desktop, or not built at all.
#pragma once
#include <string_view>

#include "builtins/builtin_table.h"
#include "engine/library/builtin_entry.h"

namespace maqo::builtins {

enum class BuiltinAvailability { Runs, NeedsWindows, NotBuilt };

// builtin: an entry of the program's builtin library (implemented when its
// family is linked in). onWindows: the program runs on Windows, where every
// built builtin runs.
BuiltinAvailability AvailabilityOf(const BuiltinEntry& builtin, bool onWindows);

// "yes", "needs Windows" or "not built".
std::u16string_view AvailabilityText(BuiltinAvailability availability);

}  // namespace maqo::builtins
