#include "automation/windows/window_activation.h"

#include "automation/windows/window_finder.h"

namespace maqo::automation {

namespace {

bool isMenuOrToolPopup(platform::Desktop& d, platform::WindowHandle h) {
  if (!TrimControl(d.title(h)).empty()) return false;
  const std::u16string cls = AsciiUpper(d.className(h));
  return cls == u"#32768" || cls == u"BASEBAR" || cls.find(u"POPUP") != std::u16string::npos ||
         cls.find(u"UI TOOL WINDOW") != std::u16string::npos;
}

void bringForward(platform::Desktop& d, platform::WindowHandle h) {
  if (d.foreground() == h) return;
  d.bringForward(h);
}

}  // namespace

void activateWindow(AutomationContext& context, platform::WindowHandle h, bool skipPopupCheck) {
  platform::Desktop& d = context.desktop;
  if (h == 0 || !d.isWindow(h)) return;
  if (!skipPopupCheck && d.anyPopup()) {
    const platform::WindowHandle up = d.parent(h);
    if (up != 0 && up != d.foreground()) return;
    if (isMenuOrToolPopup(d, h)) return;
  }
  bringForward(d, h);
  if (d.foreground() != h) {
    const std::optional<uint32_t> saved = d.foregroundLockTimeout();
    d.setForegroundLockTimeout(0);
    context.platform.ui.pumpMessages();
    bringForward(d, h);
    if (d.foreground() != h) {
      context.platform.ui.pumpMessages();
      if (context.session.own.mainWindow.handle != 0) bringForward(d, context.session.own.mainWindow.handle);
      context.platform.ui.pumpMessages();
      bringForward(d, h);
    }
    if (saved) d.setForegroundLockTimeout(*saved);
  }
  if (d.isMdiChild(h)) {
    platform::WindowHandle frame = d.parent(h);
    if (frame != 0) frame = d.parent(frame);
    if (frame != 0) {
      if (platform::WindowHandle higher = d.parent(frame)) frame = higher;
      bringForward(d, frame);
    }
  }
}

}  // namespace maqo::automation
