// GETID, GETALLWIN, IDTOHND, HNDTOID, the builtin table and the call context.
#include <algorithm>
#include <cmath>

#include "automation/builtin_support.h"
#include "automation/windows/window_builtins.h"
#include "automation/windows/window_finder.h"
#include "automation/windows/window_search.h"
#include "builtins/engine_interface.h"
#include "engine/values/global_store.h"

namespace maqo::automation {

using engine::ScriptValue;

AutomationContext contextOf(builtins::BuiltinHost& host) {
  AutomationSession& session = currentSession();
  return AutomationContext{session.desktop(), session, host.platform(), [&host] { return host.stopRequested(); },
                           host.onMainThread(), host.frame().threadSlot};
}

AutomationContext desktopContext(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = contextOf(host);
  if (!context.desktop.available()) throw builtins::messages::needsWindows(call.entry.name);
  return context;
}

std::optional<double> optionalNumber(const builtins::BuiltinCall& call, int index) {
  if (index >= call.count() || !call.at(index).isNumber) return std::nullopt;
  return call.number(index);
}

int ClampedInt(double value) { return static_cast<int>(std::clamp(std::trunc(value), -2e9, 2e9)); }

std::optional<int> optionalInt(const builtins::BuiltinCall& call, int index) {
  if (auto n = optionalNumber(call, index)) return ClampedInt(*n);
  return std::nullopt;
}

ScriptValue Getid(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  GetIdRequest request;
  const bool nullTitle = call.first.isNull() || call.text(0) == std::u16string_view(u"\0", 1);
  request.title = nullTitle ? std::u16string(kNoTitle) : call.text(0);
  request.className = call.text(1);
  request.waitSeconds = call.number(2);
  request.childText = call.text(3);
  request.browserFallback = AsciiUpper(request.className) == u"IEFRAME" && StartsWithAcwOfGetid(host.statementText());
  return ScriptValue::int32(GetId(context, request));
}

ScriptValue Getallwin(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  engine::THensuFmt& frame = host.frame();
  host.globals().ResultArray(frame, u"ALL_WIN_ID");
  const int64_t parentId = call.count() > 0 ? call.integer(0) : 0;
  platform::WindowHandle parent = 0;
  if (parentId != 0) {
    parent = context.session.ids.handleOf(parentId, true, context.desktop);
    if (parent == 0 && parentId > 0 && context.desktop.isWindow(static_cast<platform::WindowHandle>(parentId)))
      parent = static_cast<platform::WindowHandle>(parentId);
    if (parent == 0) return ScriptValue::int32(0);
  }
  const TenumParm list = EnumerateWindows(context, parent);
  for (platform::WindowHandle h : list.handles)
    host.globals().ResultArray(frame, u"ALL_WIN_ID", ScriptValue::int32(context.session.ids.idOf(h)));
  return ScriptValue::int32(static_cast<int32_t>(list.size()));
}

ScriptValue Idtohnd(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  const platform::WindowHandle h = context.session.ids.handleOf(call.integer(0), false, context.desktop);
  return ScriptValue::number(static_cast<double>(h));
}

ScriptValue Hndtoid(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  const int64_t number = call.integer(0);
  if (number <= 0 || !context.desktop.isWindow(static_cast<platform::WindowHandle>(number)))
    return ScriptValue::int32(-1);
  return ScriptValue::int32(context.session.ids.idOf(static_cast<platform::WindowHandle>(number)));
}

std::span<const builtins::NamedBuiltin> WindowBuiltins() {
  static const builtins::NamedBuiltin table[] = {
      {u"GETID", &Getid},   {u"GETALLWIN", &Getallwin}, {u"IDTOHND", &Idtohnd},
      {u"HNDTOID", &Hndtoid}, {u"CTRLWIN", &Ctrlwin},   {u"ACW", &Acw},
      {u"STATUS", &Status}, {u"MONITOR", &Monitor},     {u"EXEC", &Exec},
  };
  return table;
}

}  // namespace maqo::automation
