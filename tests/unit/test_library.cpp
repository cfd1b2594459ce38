#include "tests/unit/test_library.h"

#include "host/builtin_families.h"

namespace maqo::tests {

const engine::BuiltinLibrary& TestLibrary() {
  static const engine::BuiltinLibrary& library = *[] {
    auto* made = new engine::BuiltinLibrary;
    host::RegisterAllBuiltinFamilies(*made);
    return made;
  }();
  return library;
}

}  // namespace maqo::tests
