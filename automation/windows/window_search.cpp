#include "automation/windows/window_search.h"

#include <cmath>

#include "automation/windows/window_finder.h"
#include "automation/windows/window_waits.h"

namespace maqo::automation {

using platform::WindowHandle;

std::optional<int> SpecialWindowId(AutomationContext& context, const std::u16string& title) {
  if (!title.starts_with(u"__GET_")) return std::nullopt;
  platform::Desktop& d = context.desktop;
  const SystemWindows& own = context.session.own;
  auto idOf = [&](WindowHandle h) { return h != 0 && d.isWindow(h) ? context.session.ids.idOf(h) : -1; };
  if (title == u"__GET_ACTIVE_WIN__") return idOf(d.foreground());
  if (title == u"__GET_FROMPOINT_WIN__") return idOf(ClimbToTopLevel(context, d.windowUnderCursor(), false));
  if (title == u"__GET_FROMPOINT_OBJ__") return idOf(d.windowUnderCursor());
  if (title == u"__GET_LOGPRINT_WIN__") return idOf(own.logWindow.handle);
  if (title == u"__GET_STOPFORM_WIN__") return idOf(own.stopForm.handle);
  if (title == u"__GET_THISMAQO_WIN__") return idOf(own.mainWindow.handle);
  if (title == u"__GET_FUKIDASI_WIN__") {
    const size_t mine = context.threadSlot >= 0 ? static_cast<size_t>(context.threadSlot) + 1 : 0;
    if (d.isWindow(own.balloons[mine])) return idOf(own.balloons[mine]);
    for (WindowHandle h : own.balloons)
      if (h != 0 && d.isWindow(h)) return idOf(h);
    return -1;
  }
  if (title == u"__GET_FORM_WIN__") return idOf(own.forms[0]);
  if (title == u"__GET_FORM_WIN2__") return idOf(own.forms[1]);
  if (title == u"__GET_SCHEDULE_WIN__") return idOf(own.scheduleWindow);
  return std::nullopt;
}

namespace {

void pauseTwice(AutomationContext& context) {
  pauseMs(context, 10);
  pauseMs(context, 10);
}

// Titles that carry more than the window's stable name: an editor that shows
// the full path finds by file name, a browser by its generic title.
WindowHandle specialAppFallback(AutomationContext& context, const std::u16string& title, const std::u16string& cls,
                                bool browser) {
  if (title.find(u"- 秀丸") != std::u16string::npos) {
    std::u16string rest = title;
    for (size_t slash; (slash = rest.find(u'\\')) != std::u16string::npos;) rest.erase(0, slash + 1);
    return FindTopLevel(context, rest, cls);
  }
  if (!browser) return 0;
  for (std::u16string_view generic : {u"MICROSOFT INTERNET EXPLORER", u"WINDOWS INTERNET EXPLORER"})
    if (title.find(generic) != std::u16string::npos) return FindTopLevel(context, std::u16string(generic), cls);
  return 0;
}

}  // namespace

bool StartsWithAcwOfGetid(std::u16string_view statement) {
  constexpr std::u16string_view wanted = u"ACW(GETID";
  size_t matched = 0;
  for (char16_t c : statement) {
    if (c == u' ' || c == u'\t') continue;
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c != wanted[matched]) return false;
    if (++matched == wanted.size()) return true;
  }
  return false;
}

int GetId(AutomationContext& context, const GetIdRequest& request) {
  double scaled = std::trunc(request.waitSeconds * 1000.0);
  if (!(scaled == scaled)) scaled = 0;
  int64_t waitMs = scaled > 1e12 ? int64_t(1e12) : scaled < -1e12 ? int64_t(-1e12) : static_cast<int64_t>(scaled);
  if (waitMs == 0 && request.waitSeconds > 0) waitMs = 1;

  const std::u16string title = AsciiUpper(request.title);
  const std::u16string cls = AsciiUpper(request.className);
  const std::u16string child = AsciiUpper(request.childText);
  SlotWindowMemory& memory = context.memory();

  if (std::optional<int> special = SpecialWindowId(context, title)) {
    memory.lastId = *special;
    return *special;
  }
  if (title.empty()) {
    pauseTwice(context);
  }

  const bool expected = context.session.newWindowExpected.load();
  if (context.mainThread) context.session.newWindowExpected = false;
  int minAttempts = 0;
  int64_t limitMs = 0;
  if (waitMs > 0) {
    minAttempts = 1;
    limitMs = waitMs;
  } else if (waitMs == 0) {
    minAttempts = 10;
    limitMs = 100;
    if (title != memory.lastTitle) {
      memory.lastTitle = title;
      minAttempts = 20;
      limitMs = 800;
    }
    if (expected) {
      minAttempts = 40;
      limitMs = 8000;
    }
  }

  WindowHandle found = 0;
  int attempts = 0;
  bool retried = false;
  const int64_t start = context.now();
  for (;;) {
    if (waitMs >= 0 && attempts >= minAttempts && context.now() - start >= limitMs) break;
    if (context.stopRequested()) {
      memory.lastId = -1;
      return -1;
    }
    found = FindTopLevel(context, title, cls);
    if (found != 0 && !child.empty()) found = FindChild(context, found, child);
    if (found != 0 || context.stopRequested() || (waitMs > 0 && waitMs <= 10)) break;
    pauseTwice(context);
    retried = true;
    ++attempts;
    if (attempts % 100 == 0) {
      found = specialAppFallback(context, title, cls, request.browserFallback);
      if (found != 0) break;
    }
    if (waitMs < 0 && attempts >= 100000) attempts = 1;
  }
  if (found == 0 && !context.stopRequested())
    found = specialAppFallback(context, title, cls, request.browserFallback);

  if (found != 0) {
    platform::Desktop& d = context.desktop;
    if (waitMs < 0) pauseMs(context, 20);
    if (retried)
      for (int i = 0; i < 41 && !d.isVisible(found) && !context.stopRequested(); ++i) pauseMs(context, 20);
    if (retried || expected) {
      pauseMs(context, 20);
      waitUntilResponsive(context, found);
    }
    if (waitMs >= 0 && waitMs <= 10) {
      messagePause(context, 2);
    } else {
      context.platform.clock.sleepMs(2);
      messagePause(context, 4);
    }
  }
  const int id = context.session.ids.idOf(found);
  memory.lastId = id;
  return id;
}

}  // namespace maqo::automation
