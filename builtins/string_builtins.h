// The string builtins (COPY, LENGTH, POS, BETWEENSTR, TOKEN, REPLACE, FORMAT,
// STRCONV, the byte-string builtins, ENCODE, DECODE ...), as a table of names
// and functions for the dispatcher's implementation list.
#pragma once
#include <span>
#include <string_view>

#include "builtins/engine_interface.h"
#include "builtins/named_builtin.h"

namespace maqo::builtins {

// The 23 string builtins (CHGMOJ and REPLACE share one function).
std::span<const NamedBuiltin> StringBuiltins();

// The function of a family table by name (exact upper-case name), or null.
BuiltinFunction FindNamedBuiltin(std::span<const NamedBuiltin> table, std::u16string_view name);

}  // namespace maqo::builtins
