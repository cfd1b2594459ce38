#include "host/builtin_families.h"

#include "automation/accessibility/register_accessibility_builtins.h"
#include "automation/controls/register_control_builtins.h"
#include "automation/image/image_builtins.h"
#include "automation/input/register_input_builtins.h"
#include "automation/windows/window_builtins.h"
#include "builtins/register_builtins.h"
#include "com/dll/register_dll_calls.h"
#include "com/objects/register_com_objects.h"
#include "com/spreadsheet/spreadsheet_builtins.h"
#include "dialogs/log_window_builtins.h"
#include "dialogs/modal/modal_dialog_builtins.h"

namespace maqo::host {

void RegisterAllBuiltinFamilies(engine::BuiltinLibrary& library) {
  builtins::RegisterCoreBuiltins(library);
  automation::RegisterWindowBuiltins(library);
  automation::RegisterInputBuiltins(library);
  automation::RegisterControlBuiltins(library);
  automation::RegisterAccessibilityBuiltins(library);
  automation::RegisterImageBuiltins(library);
  com::dll::RegisterDllCalls(library);
  com::objects::RegisterComObjects(library);
  com::spreadsheet::RegisterSpreadsheetBuiltins(library);
  dialogs::RegisterLogWindowBuiltins(library);
  dialogs::RegisterModalDialogBuiltins(library);
}

}  // namespace maqo::host
