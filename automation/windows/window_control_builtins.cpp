// CTRLWIN and ACW: acting on a whole window.
#include <cmath>

#include "automation/builtin_support.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_builtins.h"
#include "automation/windows/window_waits.h"
#include "engine/values/value_messages.h"

namespace maqo::automation {

using engine::ScriptValue;
using platform::WindowHandle;

namespace {

constexpr uint32_t kWmQuit = 0x0012;
constexpr uint32_t kWmSysCommand = 0x0112;
constexpr uint32_t kScClose = 0xF060;

enum Command { Activate = 1, Close, Close2, Hide, Show, Min, Max, Normal, Topmost, NoTopmost, TopNoActivate };

uint32_t fit32(const builtins::BuiltinCall& call, int index) {
  const int64_t value = call.integer(index);
  if (value < INT32_MIN || value > int64_t(UINT32_MAX)) throw engine::ScriptError(engine::value_messages::outsideRange(call.entry.name));
  return static_cast<uint32_t>(value);
}

}  // namespace

ScriptValue Ctrlwin(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  const uint32_t command = fit32(call, 1);
  const uint32_t wParam = fit32(call, 2);
  const uint32_t lParam = fit32(call, 3);
  platform::Desktop& d = context.desktop;
  const WindowHandle h = context.session.ids.handleOf(call.integer(0), false, d);
  if (h == 0 || !d.isWindow(h)) return ScriptValue::empty();

  waitUntilResponsive(context, h);
  pause100(context);
  messagePause(context, 20);
  switch (static_cast<int32_t>(command)) {
    case Activate:
      activateWindow(context, h, true);
      break;
    case Close:
    case Close2:
      messagePause(context, 20);
      waitUntilResponsive(context, h);
      if (command == Close)
        d.postMessage(h, kWmSysCommand, kScClose, 0);
      else
        d.postMessage(h, kWmQuit, 0, 0);
      pause100(context);
      if (context.mainThread) context.session.newWindowExpected = true;
      break;
    case Hide:
      d.show(h, platform::ShowCommand::Hide);
      break;
    case Show:
      d.show(h, platform::ShowCommand::Show);
      break;
    case Min:
      d.show(h, platform::ShowCommand::Minimize);
      break;
    case Max:
      d.show(h, platform::ShowCommand::ShowMaximized);
      break;
    case Normal:
      d.show(h, platform::ShowCommand::Show);
      d.show(h, platform::ShowCommand::ShowNormal);
      break;
    case Topmost:
      d.setPosition(h, platform::ZPlacement::Topmost, 0, 0, 0, 0, {true, true, false});
      break;
    case NoTopmost:
      d.setPosition(h, platform::ZPlacement::NoTopmost, 0, 0, 0, 0, {true, true, false});
      break;
    case TopNoActivate:
      d.setPosition(h, platform::ZPlacement::Topmost, 0, 0, 0, 0, {true, true, true});
      break;
    default:
      d.postMessage(h, command, wParam, lParam);
      break;
  }
  messagePause(context, 20);
  return ScriptValue::empty();
}

ScriptValue Acw(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  platform::Desktop& d = context.desktop;
  const double delay = optionalNumber(call, 5).value_or(0);
  actionDelay(context, delay > 0 ? static_cast<int>(std::min(delay, 2e9)) : 0, call.pacingMs);

  int64_t id = call.integer(0);
  if (id < 0) return ScriptValue::empty();
  if (id == 0 && context.memory().lastId >= 1) id = context.memory().lastId;
  const WindowHandle h = context.session.ids.handleOf(id, false, d);
  const platform::WindowRect now = d.windowRect(h).value_or(platform::WindowRect{});

  auto coordinate = [&](int index) -> std::optional<int> {
    if (auto n = optionalNumber(call, index)) return static_cast<int>(std::trunc(*n));
    return std::nullopt;
  };
  const std::optional<int> x = coordinate(1), y = coordinate(2);
  int width = coordinate(3).value_or(0), height = coordinate(4).value_or(0);

  platform::PositionFlags flags;
  flags.noMove = !x || !y || (*x == now.left && *y == now.top);
  if (width <= 0 && height <= 0) {
    flags.noSize = true;
  } else {
    // A size given for one side only keeps the other side as it is.
    if (width <= 0) width = now.width();
    if (height <= 0) height = now.height();
    flags.noSize = width == now.width() && height == now.height();
  }
  if (!(flags.noMove && flags.noSize)) d.show(h, platform::ShowCommand::ShowNormal);
  activateWindow(context, h, false);
  d.setPosition(h, platform::ZPlacement::Unchanged, x.value_or(0), y.value_or(0), width, height, flags);
  // Mouse coordinates fall back on this position while the origin window is
  // minimised or gone (a recorded ACW line precedes the clicks in that window).
  if (h != 0 && x && y) {
    OriginSettings& origin = context.memory().origin;
    origin.x = *x;
    origin.y = *y;
  }

  const std::u16string cls = h != 0 ? d.className(h) : std::u16string();
  if (cls == u"RUNDLL" || cls == u"#32770")
    for (int i = 0; i < 41 && !d.isVisible(h) && !context.stopRequested(); ++i) pause100(context);
  return ScriptValue::empty();
}

}  // namespace maqo::automation
