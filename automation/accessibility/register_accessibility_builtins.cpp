#include "automation/accessibility/register_accessibility_builtins.h"

#include "automation/accessibility/accessibility_engine.h"
#include "automation/accessibility/point_reading.h"

namespace maqo::automation {

void RegisterAccessibilityBuiltins(engine::BuiltinLibrary& library) {
  // Without accessibility trees (the native build) the engine stays out, so
  // the accessibility modes of the control builtins say they are unavailable.
  if (platform::systemAccessibility().available())
    controls::InstallAccessibleItems(&accessibility::processAccessibilityEngine());
  library.implement(u"POSACC", &accessibility::Posacc);
}

}  // namespace maqo::automation
