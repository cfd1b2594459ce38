#include "dialogs/log_window_builtins.h"

#include "automation/automation_session.h"
#include "automation/builtin_support.h"
#include "dialogs/application_title.h"
#include "dialogs/balloon/balloons.h"
#include "dialogs/log/script_log.h"
#include "dialogs/stopform/stop_form_state.h"
#include "engine/threads/routed_ui.h"
#include "platform/system_services.h"

namespace maqo::dialogs {

namespace {

using automation::IntArgument;
using builtins::BuiltinCall;
using builtins::BuiltinHost;
using engine::ScriptValue;

// LOGPRINT(show, x, y, width, height)
ScriptValue LogPrint(BuiltinCall& call, BuiltinHost& host) {
  if (host.checkMode()) return {};
  std::optional<platform::WindowPlacement> placement;
  if (call.count() >= 3) {
    placement = platform::WindowPlacement{IntArgument(call, 1), IntArgument(call, 2), std::nullopt, std::nullopt};
    if (call.count() >= 5) {
      placement->width = IntArgument(call, 3);
      placement->height = IntArgument(call, 4);
    }
  }
  TheScriptLog().logPrint(IntArgument(call, 0) != 0, placement);
  automation::currentSession().own.logWindow.handle = platform::scriptWindows().logWindow();
  return {};
}

// FUKIDASI/BALLOON(message, x, y, direction, font size, font name, text colour,
// background colour, transparency, quality)
ScriptValue Balloon(BuiltinCall& call, BuiltinHost& host) {
  if (host.checkMode()) return {};
  BalloonStyle style;
  style.direction = IntArgument(call, 3);
  style.fontSize = IntArgument(call, 4);
  if (!call.at(5).isNumber) style.fontName = call.text(5);
  style.textColour = static_cast<uint32_t>(call.integer(6));
  style.backColour = static_cast<uint32_t>(call.integer(7));
  style.transparency = IntArgument(call, 8);
  style.quality = IntArgument(call, 9);
  const int slot = engine::CurrentScriptThreadSlot() + 1;
  BalloonCall(platform::scriptWindows(), slot, call.text(0), IntArgument(call, 1), IntArgument(call, 2), style);
  return {};
}

// STOPFORM(show, x, y)
ScriptValue StopForm(BuiltinCall& call, BuiltinHost& host) {
  if (host.checkMode()) return {};
  platform::ScriptWindows& windows = platform::scriptWindows();
  auto& own = automation::currentSession().own;
  if (IntArgument(call, 0) == 0) {
    windows.hideStopForm();
    return {};
  }
  StopFormState& state = TheStopForm();
  // A console run has no main window and no Position setting: a form shown
  // without a position stays where it was.
  const auto position = StopFormPlacement(call.count(), {IntArgument(call, 1), IntArgument(call, 2)},
                                          state.placedBefore(), std::nullopt, std::nullopt);
  std::optional<platform::OutlinePoint> at;
  if (position) {
    at = platform::OutlinePoint{position->x, position->y};
    state.notePlaced();
  }
  own.stopForm.handle = windows.showStopForm(at, kApplicationTitle, [] { TheStopForm().pressStop(); });
  return {};
}

void endOfRun(engine::RunHookContext& run) {
  CloseBalloons(platform::scriptWindows());
  TheScriptLog().endRun(run.platform);
}

void afterMessagePause() {
  TheScriptLog().flushWhenMinuteChanged(platform::consolePlatform(), platform::systemServices().info.localTime());
}

}  // namespace

void RegisterLogWindowBuiltins(engine::BuiltinLibrary& library) {
  library.implement(u"LOGPRINT", &LogPrint);
  library.implement(u"FUKIDASI", &Balloon);
  library.implement(u"BALLOON", &Balloon);
  library.implement(u"STOPFORM", &StopForm);
  library.addRunHooks(nullptr, &endOfRun);
  library.addMessagePauseHook(&afterMessagePause);
}

}  // namespace maqo::dialogs
