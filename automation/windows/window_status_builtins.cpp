// STATUS and MONITOR: reading a window's and the monitors' state.
#include "automation/builtin_support.h"
#include "automation/windows/window_builtins.h"
#include "automation/windows/window_finder.h"

namespace maqo::automation {

using engine::ScriptValue;
using platform::WindowHandle;

namespace {

enum Item {
  StX = 1, StY, StWidth, StHeight, StClX, StClY, StClWidth, StClHeight, StTitle, StIcon, StMaximized,
  StVisible, StActive, StClass, StBusy, StParent, StPath, StProcess, StWin64, StMonitor, StIsId
};
enum MonitorItem { MonX = 0, MonY, MonWidth, MonHeight, MonPrimary, MonName };

// The platform index of the primary monitor: the first flagged one, else 0.
size_t primaryIndex(const std::vector<platform::MonitorInfo>& monitors) {
  for (size_t i = 0; i < monitors.size(); ++i)
    if (monitors[i].primary) return i;
  return 0;
}

// Script monitor number 0 is the primary; the others keep the platform's order.
std::optional<size_t> platformIndex(const std::vector<platform::MonitorInfo>& monitors, int64_t number) {
  const size_t primary = primaryIndex(monitors);
  if (number < 0) return std::nullopt;
  size_t index = number == 0 ? primary : static_cast<size_t>(number) <= primary ? static_cast<size_t>(number) - 1
                                                                                  : static_cast<size_t>(number);
  if (index >= monitors.size()) return std::nullopt;
  return index;
}

int scriptNumber(const std::vector<platform::MonitorInfo>& monitors, size_t index) {
  const size_t primary = primaryIndex(monitors);
  if (index == primary) return 0;
  return static_cast<int>(index < primary ? index + 1 : index);
}

ScriptValue yes(bool value) { return ScriptValue::builtinBool(value); }

}  // namespace

ScriptValue Status(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  platform::Desktop& d = context.desktop;
  const WindowHandle h = context.session.ids.handleOf(call.integer(0), false, d);
  const int64_t item = call.integer(1);
  if (item == StParent) return ScriptValue::int32(context.session.ids.idOf(h != 0 ? d.parent(h) : 0));
  if (item == StProcess) return ScriptValue::number(h != 0 ? d.processId(h) : 0);
  if (item == StIsId) return yes(h != 0 && d.isWindow(h));
  if (h == 0) return yes(false);

  switch (item) {
    case StX: case StY: case StWidth: case StHeight: {
      const auto r = d.windowRect(h);
      if (!r) break;
      const int values[] = {r->left, r->top, r->width(), r->height()};
      return ScriptValue::int32(values[item - StX]);
    }
    case StClX: case StClY: {
      const auto origin = d.clientOrigin(h);
      if (!origin) break;
      return ScriptValue::int32(item == StClX ? origin->first : origin->second);
    }
    case StClWidth: case StClHeight: {
      const auto r = d.clientRect(h);
      if (!r) break;
      return ScriptValue::int32(item == StClWidth ? r->right : r->bottom);
    }
    case StTitle:
      return ScriptValue::string(TrimControl(ReadTitle(context, h)));
    case StIcon:
      return yes(d.isIconic(h));
    case StMaximized:
      return yes(d.isZoomed(h));
    case StVisible:
      return yes(d.isVisible(h));
    case StActive:
      return yes(d.foreground() == h);
    case StClass:
      return ScriptValue::string(TrimControl(d.className(h)));
    case StBusy:
      return yes(d.isWindow(h) && !d.respondsWithin(h, 88));
    case StPath:
      return ScriptValue::string(d.processPath(d.processId(h)));
    case StWin64:
      // A process whose bitness cannot be read is not reported as 64-bit.
      return yes(d.processBitness(d.processId(h)) == platform::ProcessBitness::Bits64);
    case StMonitor: {
      const auto index = d.monitorOf(h);
      const auto monitors = d.monitors();
      if (!index || *index < 0 || static_cast<size_t>(*index) >= monitors.size()) break;
      return ScriptValue::int32(scriptNumber(monitors, static_cast<size_t>(*index)));
    }
    default:
      break;
  }
  return yes(false);
}

ScriptValue Monitor(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  const std::vector<platform::MonitorInfo> monitors = context.desktop.monitors();
  if (call.count() == 0) return ScriptValue::int32(static_cast<int32_t>(monitors.size()));
  const auto index = platformIndex(monitors, call.integer(0));
  if (!index) return yes(false);
  const platform::MonitorInfo& m = monitors[*index];
  switch (call.integer(1)) {
    case MonX: return ScriptValue::int32(m.bounds.left);
    case MonY: return ScriptValue::int32(m.bounds.top);
    case MonWidth: return ScriptValue::int32(m.bounds.width());
    case MonHeight: return ScriptValue::int32(m.bounds.height());
    case MonPrimary: return yes(m.primary);
    case MonName: return m.adapterName.empty() ? yes(false) : ScriptValue::string(m.adapterName);
    default: return yes(false);
  }
}

}  // namespace maqo::automation
