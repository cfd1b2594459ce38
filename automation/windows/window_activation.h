// Bringing a window to the foreground, shared by ACW, CTRLWIN ACTIVATE and the
// input and control builtins.
#pragma once
#include "automation/automation_context.h"

namespace maqo::automation {

// Unless skipPopupCheck, menus and tool pop-ups (and children of windows that
// are not in front) are left alone while a pop-up is showing. A lowered
// foreground lock is restored before returning.
void activateWindow(AutomationContext& context, platform::WindowHandle h, bool skipPopupCheck);

}  // namespace maqo::automation
