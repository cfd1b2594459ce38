#include "automation/controls/register_control_builtins.h"

#include "automation/controls/control_builtins.h"

namespace maqo::automation {

namespace controls {

std::span<const builtins::NamedBuiltin> ControlBuiltins() {
  static const builtins::NamedBuiltin table[] = {
      {u"CLKITEM", &Clkitem},     {u"CHKBTN", &Chkbtn},         {u"GETITEM", &Getitem},
      {u"GETSTR", &Getstr},       {u"SENDSTR", &Sendstr},       {u"GETSLIDER", &Getslider},
      {u"SETSLIDER", &Setslider}, {u"GETCTLHND", &Getctlhnd},   {u"GETSLCTLST", &Getslctlst},
  };
  return table;
}

}  // namespace controls

void RegisterControlBuiltins(engine::BuiltinLibrary& library) {
  for (const builtins::NamedBuiltin& b : controls::ControlBuiltins()) library.implement(b.name, b.function);
}

}  // namespace maqo::automation
