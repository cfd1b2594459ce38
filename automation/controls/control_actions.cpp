#include "automation/controls/control_actions.h"

#include "automation/input/input_session.h"
#include "automation/windows/window_activation.h"

namespace maqo::automation::controls {

HalfWidthMapper HalfWidthOf(ControlContext& c) {
  platform::Desktop* d = &c.automation.desktop;
  return [d](const std::u16string& text) { return d->halfWidth(text); };
}

void MovePointer(ControlContext&, int x, int y) {
  platform::Input& input = currentInputSession().input();
  if (input.available()) input.setCursorPos(x, y);
}

ForegroundKeeper::ForegroundKeeper(AutomationContext& a, platform::WindowHandle h) : a_(a) {
  if (a.desktop.isIconic(h) || !a.desktop.isVisible(h)) previous_ = a.desktop.foreground();
}

ForegroundKeeper::~ForegroundKeeper() {
  if (previous_ != 0) activateWindow(a_, previous_, true);
}

ParkedPointer::ParkedPointer(ControlContext& c, platform::WindowHandle control, bool park) {
  if (!park) return;
  platform::Input& input = currentInputSession().input();
  if (!input.available()) return;
  const std::optional<platform::WindowRect> rect = c.automation.desktop.windowRect(control);
  if (!rect) return;
  saved_ = input.cursorPos();
  if (saved_) input.setCursorPos(rect->right + 4, rect->top);
}

ParkedPointer::~ParkedPointer() {
  if (saved_) currentInputSession().input().setCursorPos(saved_->first, saved_->second);
}

void NudgeControl(ControlContext& c, platform::WindowHandle control, int firstKey, int secondKey, bool back) {
  if (!back) c.controls.focus(control);
  c.controls.keyNudge(control, c.window, firstKey, secondKey);
}

}  // namespace maqo::automation::controls
