// The short waits of the window builtins. Every one keeps window messages
// flowing, and the open-ended ones end on a stop request.
#pragma once
#include "automation/automation_context.h"

namespace maqo::automation {

// k rounds of a zero sleep, then one pass over pending window messages.
void messagePause(AutomationContext& context, int rounds);
// Sleep(ms) followed by messagePause(ms).
void pauseMs(AutomationContext& context, int ms);
// Ten 10 ms sleeps with one message pass (about 100 ms).
void pause100(AutomationContext& context);
// Waits (at most 8 s) until the window's thread answers; nothing for the
// system's own windows.
void waitUntilResponsive(AutomationContext& context, platform::WindowHandle h);
// The SLEEP-style long wait: 50 ms steps with messages, ends on a stop request.
void longWait(AutomationContext& context, int ms);
// The wait recorded scripts put before an action; pacingMs is the time spent
// since the previous builtin call of the main script.
void actionDelay(AutomationContext& context, int ms, int pacingMs);

}  // namespace maqo::automation
