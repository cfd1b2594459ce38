// EXEC: starting a program, then either finding its window or waiting for it
// to end.
#include <cmath>

#include "automation/builtin_support.h"
#include "automation/windows/window_builtins.h"
#include "automation/windows/window_finder.h"
#include "automation/windows/window_waits.h"

namespace maqo::automation {

using engine::ScriptValue;
using platform::WindowHandle;

namespace {

struct CommandNames {
  std::u16string workingDirectory;  // the program's folder when it exists
  std::u16string programName;       // upper-cased, no folder, no extension, cut at a space
  std::u16string extension;         // upper-cased, at most 4 characters with the "."
};

std::u16string withoutQuotes(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text)
    if (c != u'"') out += c;
  return out;
}

CommandNames namesOf(const std::u16string& commandLine, platform::FileSystem& files) {
  CommandNames names;
  const size_t dot = commandLine.rfind(u'.');
  const std::u16string base = dot == std::u16string::npos ? commandLine : commandLine.substr(0, dot);
  const size_t slash = base.find_last_of(u"\\/");
  if (slash != std::u16string::npos) {
    std::u16string folder = withoutQuotes(base.substr(0, slash));
    if (!folder.empty() && files.directoryExists(folder)) names.workingDirectory = std::move(folder);
  }
  std::u16string program = AsciiUpper(withoutQuotes(slash == std::u16string::npos ? base : base.substr(slash + 1)));
  if (const size_t space = program.find(u' '); space != std::u16string::npos) program.resize(space);
  names.programName = std::move(program);
  if (dot != std::u16string::npos) names.extension = AsciiUpper(commandLine.substr(dot, 4));
  return names;
}

// Waits for the process to be ready for input, as long as it takes, but ends
// when the run stops or the process cannot be waited for (console programs).
void waitUntilIdle(AutomationContext& context, platform::StartedProcess& process) {
  while (!context.stopRequested()) {
    if (process.waitForInputIdle(100) != platform::IdleWait::TimedOut) return;
    context.platform.ui.pumpMessages();
  }
}

int64_t waitForExit(AutomationContext& context, platform::StartedProcess& process) {
  waitUntilIdle(context, process);
  for (;;) {
    if (process.waitForExit(20)) {
      const auto code = process.exitCode();
      return code ? static_cast<int64_t>(static_cast<int32_t>(*code)) : -1;
    }
    if (context.stopRequested()) return -1;
    context.platform.clock.sleepMs(10);
    messagePause(context, 10);
  }
}

int findWindowOf(AutomationContext& context, platform::StartedProcess& process, const CommandNames& names) {
  const bool cpl = names.extension == u".CPL", hlp = names.extension == u".HLP";
  const bool explorer = names.programName == u"EXPLORER";
  const int idleMs = cpl || hlp ? 500 : 20000;
  const int64_t idleEnd = context.now() + idleMs;
  while (!context.stopRequested() && context.now() < idleEnd) {
    if (process.waitForInputIdle(100) != platform::IdleWait::TimedOut) break;
    context.platform.ui.pumpMessages();
  }
  platform::Desktop& d = context.desktop;
  int id = -1;
  if (!explorer && !cpl && !hlp) {
    WindowHandle last = 0;
    for (int i = 0; i < 51 && !context.stopRequested(); ++i) {
      if (WindowHandle h = FindTopLevel(context, {}, {}, process.processId())) {
        last = h;
        if (d.isVisible(h)) break;
      }
      context.platform.clock.sleepMs(20);
      messagePause(context, 10);
    }
    return context.session.ids.idOf(last);
  }
  for (int i = 0; i < 7 && id <= 0 && !context.stopRequested(); ++i) {
    for (int k = 0; k < 3; ++k) pause100(context);
    const WindowHandle front = d.foreground();
    const std::u16string cls = AsciiUpper(d.className(front));
    const bool match = (explorer && (cls == u"EXPLOREWCLASS" || cls == u"IEFRAME" || cls == u"CABINETWCLASS")) ||
                       (cpl && (cls == u"RUNDLL" || cls == u"#32770" || cls == u"CABINETWCLASS")) ||
                       (hlp && cls == u"MS_WINDOC");
    if (match) id = context.session.ids.idOf(front);
  }
  if (cpl) pauseMs(context, 20);
  return id;
}

}  // namespace

ScriptValue Exec(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext context = desktopContext(call, host);
  const std::u16string& commandLine = call.text(0);
  if (commandLine.empty()) return ScriptValue::int32(-1);
  auto argument = [&](int index) {
    const auto n = optionalNumber(call, index);
    return n ? static_cast<int>(std::trunc(std::max(-2e9, std::min(*n, 2e9)))) : -1;
  };
  const bool wait = (call.integer(1) & 1) != 0;
  const int x = argument(2), y = argument(3), width = argument(4), height = argument(5);

  const CommandNames names = namesOf(commandLine, context.platform.files);
  platform::ProcessStart start;
  start.commandLine = commandLine;
  start.workingDirectory = names.workingDirectory;
  if (x != -1 || y != -1) start.position = std::pair{x, y};
  if (width > 0 && height > 0) start.size = std::pair{width, height};
  std::unique_ptr<platform::StartedProcess> process = context.desktop.startProcess(start);
  if (!process) return ScriptValue::int32(-1);

  int64_t result = -1;
  if (wait) {
    result = waitForExit(context, *process);
  } else {
    result = findWindowOf(context, *process, names);
    if (result > 0) {
      platform::PositionFlags flags{x == -1 && y == -1, width <= 0 || height <= 0, false};
      if (!(flags.noMove && flags.noSize)) {
        const WindowHandle h = context.session.ids.handleOf(result, true, context.desktop);
        context.desktop.setPosition(h, platform::ZPlacement::Unchanged, x, y, width, height, flags);
      }
    }
  }
  process.reset();
  if (context.mainThread) context.session.newWindowExpected = true;
  for (int i = 0; i < 4 && !context.stopRequested(); ++i) pause100(context);
  return result >= INT32_MIN && result <= INT32_MAX ? ScriptValue::int32(static_cast<int32_t>(result))
                                                    : ScriptValue::number(static_cast<double>(result));
}

}  // namespace maqo::automation
