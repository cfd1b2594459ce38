// A builtin function under its script name, for the tables that families
// outside builtins/ hand to the dispatcher.
#pragma once
#include <string_view>

#include "builtins/engine_interface.h"

namespace maqo::builtins {

struct NamedBuiltin {
  std::u16string_view name;
  BuiltinFunction function;
};

}  // namespace maqo::builtins
