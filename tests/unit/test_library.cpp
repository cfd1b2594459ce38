#include "tests/unit/test_library.h"

#include "automation/image/image_builtins.h"
#include "automation/input/register_input_builtins.h"
#include "automation/controls/register_control_builtins.h"
#include "automation/windows/window_builtins.h"
#include "builtins/register_builtins.h"
#include "com/dll/register_dll_calls.h"
#include "com/objects/register_com_objects.h"

namespace maqo::tests {

const engine::BuiltinLibrary& TestLibrary() {
  static const engine::BuiltinLibrary& library = *[] {
    auto* made = new engine::BuiltinLibrary;
    builtins::RegisterCoreBuiltins(*made);
    automation::RegisterWindowBuiltins(*made);
    automation::RegisterInputBuiltins(*made);
    automation::RegisterControlBuiltins(*made);
    automation::RegisterImageBuiltins(*made);
    com::dll::RegisterDllCalls(*made);
    com::objects::RegisterComObjects(*made);
    return made;
  }();
  return library;
}

}  // namespace maqo::tests
