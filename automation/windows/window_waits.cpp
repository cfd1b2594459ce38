#include "automation/windows/window_waits.h"

namespace maqo::automation {

void messagePause(AutomationContext& context, int rounds) {
  for (int i = 0; i < rounds; ++i) context.platform.clock.sleepMs(0);
  context.platform.ui.pumpMessages();
}

void pauseMs(AutomationContext& context, int ms) {
  context.platform.clock.sleepMs(ms);
  messagePause(context, ms);
}

void pause100(AutomationContext& context) {
  for (int i = 0; i < 10; ++i) context.platform.clock.sleepMs(10);
  context.platform.ui.pumpMessages();
}

void waitUntilResponsive(AutomationContext& context, platform::WindowHandle h) {
  if (h == 0 || context.session.isOwnWindow(h)) return;
  context.desktop.respondsWithin(h, 8000);
}

void longWait(AutomationContext& context, int ms) {
  const int64_t end = context.now() + ms;
  while (!context.stopRequested()) {
    const int64_t left = end - context.now();
    if (left <= 0) return;
    context.platform.clock.sleepMs(left < 50 ? static_cast<int>(left) : 50);
    context.platform.ui.pumpMessages();
  }
}

void actionDelay(AutomationContext& context, int ms, int pacingMs) {
  if (ms < 0) ms = 0;
  if (!context.mainThread) {
    if (ms < 1000)
      context.platform.clock.sleepMs(ms);
    else
      longWait(context, ms);
    return;
  }
  const int remaining = ms - pacingMs;
  if (remaining < -9) return;
  if (remaining <= 0)
    context.platform.clock.sleepMs(1);
  else if (remaining < 1000)
    context.platform.clock.sleepMs(remaining);
  else
    longWait(context, remaining);
}

}  // namespace maqo::automation
