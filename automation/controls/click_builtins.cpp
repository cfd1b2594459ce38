// CLKITEM and CHKBTN.
#include "automation/controls/accessible_items.h"
#include "automation/controls/click_item.h"
#include "automation/controls/control_actions.h"
#include "automation/controls/control_arguments.h"
#include "automation/controls/control_builtins.h"
#include "automation/controls/control_kinds.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_waits.h"
#include "platform/text_codec.h"

namespace maqo::automation::controls {

namespace kb = kind_bits;
using platform::WindowHandle;

namespace {

constexpr uint32_t kCheckQueryKinds = kb::kQuery | kb::kButton | kb::kTreeView | kb::kListView;

// The search itself; platform failures become FucCLKITEM errors.
ClickOutcome runSearch(ControlContext& c, const ClickRequest& request, std::u16string_view builtin) {
  try {
    ClickOutcome outcome = ClickItem(c, request);
    if (outcome.done || !(request.kinds & kb::kAccessibility)) return outcome;
    const bool onlyAccessibility = (request.kinds & (kb::kDefaultKinds & ~kb::kAccessibility)) == 0;
    AccessibleItems* engine = InstalledAccessibleItems();
    if (!engine) {
      if (onlyAccessibility) throw control_messages::accessibilityUnavailable(builtin);
      return outcome;
    }
    ClickRequest accessible = request;
    accessible.number = std::max(1, request.number);
    activateWindow(c.automation, c.window, false);
    outcome.done = engine->click(c, accessible);
    if (!outcome.done && !(accessible.kinds & kb::kAccessibilityMouse)) {
      accessible.kinds |= kb::kAccessibilityMouse;
      outcome.done = engine->click(c, accessible);
    }
    if (outcome.done) activateWindow(c.automation, c.window, false);
    return outcome;
  } catch (const engine::ScriptError&) {
    throw;
  } catch (const std::exception& e) {
    throw control_messages::clickFailed(utf8ToUtf16(e.what()));
  }
}

}  // namespace

ScriptValue Clkitem(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  platform::Controls& controls = ControlsOf(call);
  messagePause(a, 8);
  const int64_t id = call.integer(0);
  if (id < 1) return ScriptValue::builtinBool(false);
  const WindowHandle h = a.session.ids.handleOf(id, true, a.desktop);
  if (h == 0 || !a.desktop.isWindow(h)) return ScriptValue::builtinBool(false);
  messagePause(a, 20);
  waitUntilResponsive(a, h);
  ForegroundKeeper keeper(a, h);
  ClickRequest request;
  request.rawName = call.text(1);
  request.kinds = EffectiveClickKinds(static_cast<uint32_t>(IntArgument(call, 2, 0)));
  request.desired = IntArgument(call, 3, 1);
  if (request.desired < 0 || request.desired > 2) request.desired = 1;
  request.number = IntArgument(call, 4, 0);
  ControlContext c(a, controls, h);
  const ClickOutcome outcome = runSearch(c, request, u"CLKITEM");
  if (!outcome.done) return ScriptValue::builtinBool(false);
  // One pause after a hit (the description of this step used to repeat it).
  messagePause(a, 20);
  waitUntilResponsive(a, h);
  if (a.mainThread) a.session.newWindowExpected = true;
  return ScriptValue::builtinBool(true);
}

ScriptValue Chkbtn(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  platform::Controls& controls = ControlsOf(call);
  const WindowHandle h = a.session.ids.handleOf(call.integer(0), false, a.desktop);
  const int number = std::max(1, IntArgument(call, 2, 1));
  const int mode = IntArgument(call, 3, 0);
  if (h == 0 || !a.desktop.isWindow(h)) return ScriptValue::int32(-1);
  ControlContext c(a, controls, h);
  if (mode != 0) {
    AccessibleItems& engine = RequireAccessibleItems(u"CHKBTN");
    if (mode != 2) activateWindow(a, h, false);
    return ScriptValue::int32(engine.checkState(c, call.text(1), number));
  }
  ClickRequest request{call.text(1), kCheckQueryKinds, 1, number};
  const ClickOutcome outcome = runSearch(c, request, u"CHKBTN");
  return ScriptValue::int32(outcome.done ? outcome.state : -1);
}

}  // namespace maqo::automation::controls
