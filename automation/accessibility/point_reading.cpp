#include "automation/accessibility/point_reading.h"

#include <optional>
#include <string>

#include "automation/accessibility/accessibility_engine.h"
#include "automation/accessibility/accessible_roles.h"
#include "automation/accessibility/accessible_text.h"
#include "automation/builtin_support.h"
#include "automation/input/input_session.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_finder.h"
#include "automation/windows/window_waits.h"
#include "platform/text_codec.h"

namespace maqo::automation::accessibility {

namespace {

using engine::ScriptValue;
using platform::WindowHandle;

// The low four bits of POSACC's mode.
enum PointMode {
  kTextThenDrawn = 0, kTextOnly = 1, kDrawnOnly = 2, kName = 3, kValue = 4, kRole = 5, kState = 6,
  kDescription = 7, kLocation = 8, kHelp = 9
};
constexpr int kLeaveWhereItIs = 0x200;  // ACC_BACK

std::u16string decimal(int n) { return utf8ToUtf16(std::to_string(n)); }

// Pop-up menus and tool windows without a title: reading them must not
// activate the target, which would close them.
bool isMenuLike(platform::Desktop& d, WindowHandle w) {
  if (w == 0) return false;
  const std::u16string cls = AsciiUpper(d.className(w));
  if (cls == u"DV2CONTROLHOST") return true;
  if (!d.title(w).empty()) return false;
  return cls == u"#32768" || cls == u"BASEBAR" || cls.find(u"POPUP") != std::u16string::npos ||
         cls.find(u"UI TOOL WINDOW") != std::u16string::npos;
}

// The element at the screen point, read as the mode asks. Nothing when no
// element is there; an empty text when one is there but says nothing.
std::optional<std::u16string> readElementAt(AutomationContext& a, WindowHandle window, WindowHandle under, int sx,
                                            int sy, std::pair<int, int> clientOrigin, int mode) {
  platform::Input& input = currentInputSession().input();
  if (under == 0) return std::nullopt;
  std::unique_ptr<platform::AccessibleElement> e = currentAccessibility().fromPoint(sx, sy);
  if (!e) return std::nullopt;
  // The window may have gone, or another may have come over the point meanwhile.
  if (!a.desktop.isVisible(under) || input.windowFromPoint(sx, sy) != under) return std::nullopt;
  switch (mode) {
    case kName: return e->name();
    case kValue: return e->value().value_or(u"");
    case kDescription: return e->description();
    case kHelp: return e->help();
    case kRole: {
      const std::optional<int> role = e->role();
      return role ? currentAccessibility().roleText(*role) : u"";
    }
    case kState: {
      const uint32_t state = e->state();
      std::u16string texts;
      for (uint32_t bit = 0x1; bit <= 0x8000000; bit <<= 1) {
        if (!(state & bit)) continue;
        if (!texts.empty()) texts += u' ';
        texts += currentAccessibility().stateText(bit);
      }
      return texts;
    }
    case kLocation: {
      const std::optional<platform::AccessibleRect> r = e->location();
      if (!r) return u"";
      return decimal(r->left - clientOrigin.first) + u"," + decimal(r->top - clientOrigin.second) + u"," +
             decimal(r->width) + u"," + decimal(r->height);
    }
    default: break;
  }
  const std::optional<int> role = e->role();
  std::u16string text = CleanElementText(ElementText(TextSource::Default, role.value_or(0), e->name(), e->value(), false));
  // A text that only repeats the window's title says nothing about the point.
  if (under == window && !text.empty() && TrimControl(text) == TrimControl(a.desktop.title(window))) return u"";
  return text;
}

}  // namespace

ScriptValue Posacc(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  AutomationContext a = desktopContext(call, host);
  const int64_t id = call.integer(0);
  const int x = IntArgument(call, 1, 0), y = IntArgument(call, 2, 0);
  const int fullMode = IntArgument(call, 3, 0);
  int mode = fullMode & 0xF;
  if (mode >= 10) mode = kTextOnly;
  WindowHandle window = 0;
  std::pair<int, int> origin{0, 0};
  if (id != 0) {
    window = a.session.ids.resolveWindow(id, a.desktop);
    if (window == 0 || !a.desktop.isWindow(window)) return ScriptValue::string(u"");
    waitUntilResponsive(a, window);
    const auto clientOrigin = a.desktop.clientOrigin(window);
    if (!clientOrigin) return ScriptValue::string(u"");
    origin = *clientOrigin;
  }
  // The text drawn at the point is not captured: the drawn-text modes read
  // nothing beyond the accessible element.
  if (mode == kDrawnOnly) return ScriptValue::string(u"");
  const int sx = origin.first + x, sy = origin.second + y;
  platform::Input& input = currentInputSession().input();
  const WindowHandle under = input.available() ? input.windowFromPoint(sx, sy) : 0;
  const bool menu = isMenuLike(a.desktop, under);
  if (window != 0 && !(fullMode & kLeaveWhereItIs) && !menu) activateWindow(a, window, false);
  const std::optional<std::u16string> text = readElementAt(a, window, under, sx, sy, origin, mode);
  return ScriptValue::string(text.value_or(u""));
}

}  // namespace maqo::automation::accessibility
