// GETSTR and SENDSTR: the texts of edit, static and status-bar controls, and
// the clipboard (ID 0).
#include "automation/controls/accessible_items.h"
#include "automation/controls/control_actions.h"
#include "automation/controls/control_arguments.h"
#include "automation/controls/control_builtins.h"
#include "automation/controls/control_enumeration.h"
#include "automation/controls/control_kinds.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_finder.h"
#include "automation/windows/window_waits.h"

namespace maqo::automation::controls {

namespace kb = kind_bits;
using platform::WindowHandle;

namespace {

constexpr int kStrEdit = 0, kStrStatic = 1, kStrStatus = 2, kStrAccEdit = 3, kStrAccCell = 5;
constexpr size_t kControlTextChars = 65001;
// The clipboard may be held by another program for a moment.
constexpr int kClipboardAttempts = 256, kClipboardPauseMs = 3;

std::optional<std::u16string> readClipboard(AutomationContext& a, platform::Controls& controls) {
  for (int i = 0; i < kClipboardAttempts && !a.stopRequested(); ++i) {
    if (auto text = controls.clipboardText()) return text;
    a.platform.clock.sleepMs(kClipboardPauseMs);
  }
  return std::nullopt;
}

bool writeClipboard(AutomationContext& a, platform::Controls& controls, const std::u16string& text) {
  for (int i = 0; i < kClipboardAttempts && !a.stopRequested(); ++i) {
    if (controls.setClipboardText(text)) return true;
    a.platform.clock.sleepMs(kClipboardPauseMs);
  }
  return false;
}

ScriptValue textOrEmpty(const std::u16string& text) {
  return text.empty() ? ScriptValue::empty() : ScriptValue::string(text);
}

std::u16string dateSeparators(std::u16string text) {
  for (char16_t& ch : text)
    if (ch == u'年' || ch == u'月' || ch == u'日') ch = u'/';
  return text;
}

}  // namespace

ScriptValue Getstr(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  platform::Controls& controls = ControlsOf(call);
  const int64_t id = call.integer(0);
  if (id == 0) {
    const auto text = readClipboard(a, controls);
    return text ? textOrEmpty(*text) : ScriptValue::empty();
  }
  const WindowHandle h = a.session.ids.handleOf(id, false, a.desktop);
  if (h == 0 || !a.desktop.isWindow(h)) return ScriptValue::empty();
  const int number = IntArgument(call, 1, 0);
  const int kind = IntArgument(call, 2, kStrEdit);
  const bool mouse = IntArgument(call, 3, 0) != 0;
  ControlContext c(a, controls, h);
  if (kind >= kStrAccEdit && kind <= kStrAccCell) {
    AccessibleItems& engine = RequireAccessibleItems(u"GETSTR");
    if (number == 0) activateWindow(a, h, false);
    const auto text = engine.readText(c, number, kind, mouse);
    return text ? textOrEmpty(*text) : ScriptValue::empty();
  }
  if (kind == kStrStatus) {
    int remaining = std::max(1, number);
    for (const ControlEntry& e : EnumerateControls(c, h, kb::kStatusBar, false)) {
      platform::RemoteBuffer* buffer = c.remote(e.handle);
      if (!buffer) break;
      const int parts = controls.statusParts(e.handle);
      if (remaining > parts) {
        remaining -= parts;
        continue;
      }
      if (mouse)
        if (const auto part = controls.statusPartRect(*buffer, e.handle, remaining - 1))
          if (auto origin = a.desktop.clientOrigin(e.handle)) {
            const auto [x, y] = CentreOf(*part);
            MovePointer(c, origin->first + x, origin->second + y);
          }
      return textOrEmpty(controls.statusText(*buffer, e.handle, remaining - 1));
    }
    return ScriptValue::empty();
  }
  if (number == 0 && kind == kStrStatic) return textOrEmpty(ReadTitle(a, h));
  WindowHandle target = 0;
  std::optional<platform::WindowRect> rect;
  if (number < 1) {
    target = controls.focusedControl(h);
    if (target != 0) rect = a.desktop.windowRect(target);
  } else {
    const auto all = EnumerateControls(c, h, kind == kStrStatic ? kb::kStatic : kb::kEdit, false);
    if (const ControlEntry* e = NthControl(all, number)) {
      target = e->handle;
      rect = e->rect;
    }
  }
  if (target == 0) return ScriptValue::empty();
  if (mouse && rect) {
    auto [x, y] = CentreOf(*rect);
    MovePointer(c, x, y);
  }
  return textOrEmpty(controls.windowText(target, kControlTextChars));
}

ScriptValue Sendstr(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  platform::Controls& controls = ControlsOf(call);
  const int64_t id = call.integer(0);
  std::u16string text = call.text(1);
  if (id == 0) {
    writeClipboard(a, controls, text);
    return ScriptValue::empty();
  }
  const WindowHandle h = a.session.ids.handleOf(id, false, a.desktop);
  if (h == 0 || !a.desktop.isWindow(h)) return ScriptValue::empty();
  const int number = IntArgument(call, 2, 0);
  const int mode = IntArgument(call, 3, 0);
  const int accessibleKind = IntArgument(call, 4, 0);
  ControlContext c(a, controls, h);
  if (accessibleKind == 1 || accessibleKind == 2 || accessibleKind == 5) {
    AccessibleItems& engine = RequireAccessibleItems(u"SENDSTR");
    if (number == 0) activateWindow(a, h, false);
    const uint32_t elementKinds = accessibleKind == 1 ? 0x20000 : accessibleKind == 2 ? 0x20200 : 0x200000;
    engine.setText(c, text, number, elementKinds, mode == 0);
    return ScriptValue::empty();
  }
  waitUntilResponsive(a, h);
  const ForegroundKeeper keeper(a, h);
  WindowHandle target = 0;
  std::u16string upperClass;
  if (number == 0) {
    target = controls.focusedControl(h);
    if (auto f = controls.facts(target)) upperClass = CategoryClass(f->className);
  } else if (const auto all = EnumerateControls(c, h, kb::kEdit, false); const ControlEntry* e = NthControl(all, number)) {
    target = e->handle;
    upperClass = e->upperClass;
  }
  if (target != 0) {
    bool typed = mode == 2 || (mode == 0 && number == 0);
    if (upperClass.find(u"DATETIMEPICK") != std::u16string::npos) {
      text = dateSeparators(std::move(text));
      controls.postClick(target, platform::ClickButton::Left, false, 6, 6);
      typed = true;
    }
    if (typed) {
      int sent = 0;
      for (size_t i = 0; i < text.size() && !a.stopRequested(); ++i) {
        if (text[i] == u'\n' && i > 0 && text[i - 1] == u'\r') continue;
        controls.postChar(target, text[i]);
        if (++sent % 10 == 0) a.platform.clock.sleepMs(10);
      }
    } else if (mode == 1) {
      controls.setWindowText(target, text);
    } else {
      controls.setWindowText(target, controls.windowText(target, kControlTextChars) + text);
    }
    controls.postSetModified(target);
    if (a.desktop.foreground() == h)
      controls.focus(target);
    else
      controls.postClick(target, platform::ClickButton::Left, false, 29999, 29999);
  }
  return ScriptValue::empty();
}

}  // namespace maqo::automation::controls
