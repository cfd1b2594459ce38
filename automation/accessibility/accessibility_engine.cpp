#include "automation/accessibility/accessibility_engine.h"

#include <algorithm>
#include <atomic>

#include "automation/controls/control_actions.h"
#include "automation/controls/control_kinds.h"
#include "automation/controls/item_names.h"
#include "automation/input/input_actions.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_finder.h"
#include "automation/windows/window_waits.h"

namespace maqo::automation::accessibility {

namespace {

namespace sk = search_kind;
namespace kb = controls::kind_bits;
using controls::ControlContext;
using platform::AccessibleElement;
using platform::WindowHandle;

std::atomic<platform::Accessibility*> installed{nullptr};

// The kind bits the walk reads from a CLKITEM kind word: the variants, the
// order, CLK_CONTINUE, CLK_SHORT and the mouse options.
constexpr uint32_t kClickModifiers = sk::kMouseVariant | sk::kNameOnly | sk::kValueOnly | sk::kFromLast |
                                     sk::kContinue | sk::kShort | kb::kMouseMove | sk::kClickOptions;
constexpr uint32_t kCollectModifiers = sk::kMouseVariant | sk::kNameOnly | sk::kValueOnly | sk::kFromLast |
                                       sk::kCollecting;
constexpr int kVkSpace = 0x20;

bool isInternetExplorerFamily(const std::u16string& upperClass) {
  return upperClass == u"IEFRAME" || upperClass.starts_with(u"SLEIPNIR") || upperClass.starts_with(u"LUNASCAPE");
}

// A browser-frame child is skipped when it, or a window up to nine levels
// above it, is disabled: a modal dialog of the page is open.
bool disabledWithin(platform::Desktop& d, WindowHandle h) {
  for (int level = 0; h != 0 && level <= 9; ++level, h = d.parent(h))
    if (!d.isEnabled(h)) return true;
  return false;
}

// The windows whose trees a search walks: the document windows of a browser
// frame, or the window itself.
std::vector<WindowHandle> windowsToWalk(ControlContext& c) {
  platform::Desktop& d = c.automation.desktop;
  if (!isInternetExplorerFamily(AsciiUpper(d.className(c.window)))) return {c.window};
  std::vector<WindowHandle> documents;
  for (WindowHandle child : d.descendants(c.window))
    if (AsciiUpper(d.className(child)) == u"INTERNET EXPLORER_SERVER" && d.isVisible(child) &&
        !disabledWithin(d, child))
      documents.push_back(child);
  return documents;
}

bool onVirtualScreen(const platform::WindowRect& screen, int x, int y) {
  return x >= screen.left && x <= screen.right && y >= screen.top && y <= screen.bottom;
}

// One search over the windows of the call, with the slot's CLK_CONTINUE memory.
class EngineSearch {
 public:
  EngineSearch(ControlContext& c, AccessibleSearch search) : c_(c), s_(std::move(search)) {}

  AccessibleOutcome run(std::function<bool(AccessibleElement&, const ClickTarget&)> click = {},
                        std::function<bool(const std::u16string&)> writeInstead = {}) {
    AccessibleOutcome outcome;
    platform::Accessibility& accessibility = currentAccessibility();
    if (!accessibility.available()) return outcome;
    AutomationContext& a = c_.automation;
    SlotWindowMemory& memory = a.memory();
    const bool continuing = (s_.kind & sk::kContinue) != 0;
    if (memory.accessibleWindow != c_.window || !continuing) {
      memory.accessibleWindow = c_.window;
      memory.accessibleHitWindow = 0;
      memory.accessibleMatchesPassed = 0;
    }
    AccessibleWalkEnv env;
    env.stopping = [&a] { return a.stopRequested(); };
    env.pause = [&a] { messagePause(a, 1); };
    env.halfWidth = controls::HalfWidthOf(c_);
    env.click = std::move(click);
    env.writeInstead = std::move(writeInstead);
    const int limit = s_.maxCount;
    for (WindowHandle w : windowsToWalk(c_)) {
      if (continuing && memory.accessibleHitWindow != 0 && memory.accessibleHitWindow != w) continue;
      if (w == c_.window)
        if (const auto client = a.desktop.clientRect(w)) s_.clientSize = std::pair{client->width(), client->height()};
      std::unique_ptr<AccessibleElement> root = accessibility.fromWindow(w);
      if (root) {
        AccessibleResume resume{memory.accessibleMatchesPassed};
        AccessibleOutcome one = FindAccessible(*root, s_, resume, env);
        outcome.collected.insert(outcome.collected.end(), one.collected.begin(), one.collected.end());
        if (one.found && !(s_.kind & sk::kCollecting)) {
          memory.accessibleHitWindow = w;
          memory.accessibleMatchesPassed = resume.matchesPassed;
          outcome.found = true;
          outcome.text = std::move(one.text);
          outcome.location = one.location;
          break;
        }
        // The maximum holds for the texts of all windows together.
        if (limit > 0) {
          const int left = limit - static_cast<int>(outcome.collected.size());
          if (left <= 0) break;
          s_.maxCount = left;
        }
      }
      messagePause(a, 1);
      if (a.stopRequested()) break;
    }
    if (s_.kind & sk::kCollecting) {
      memory.accessibleWindow = 0;
      outcome.found = !outcome.collected.empty();
    }
    pauseMs(a, 10);
    if (s_.kind & (sk::kClick | sk::kEdit)) pauseMs(a, 20);
    return outcome;
  }

 private:
  ControlContext& c_;
  AccessibleSearch s_;
};

// CLKITEM's operation of a hit: the pointer for the mouse options, nothing
// more when the element is in the desired state, else the click option's
// button clicks, or the default action with a click or the Space key when
// the element has none.
class HitClicker {
 public:
  HitClicker(ControlContext& c, uint32_t kinds) : c_(c), kinds_(kinds) {}

  bool operator()(AccessibleElement& e, const ClickTarget& t) {
    platform::Input& input = session().input();
    const bool clickOption = (kinds_ & sk::kClickOptions) != 0;
    const bool mouseOption = clickOption || (kinds_ & kb::kMouseMove);
    const platform::AccessibleRect r = (mouseOption || t.byMouse) ? e.location().value_or(t.rect) : t.rect;
    int x = r.left + r.width / 2, y = r.top + r.height / 2;
    if (clickOption && r.width > 16 && r.height > 16) x = r.left + 8, y = r.top + 8;
    else if (clickOption && r.width > 8 && r.height > 8) x = r.left + 4, y = r.top + 4;
    if (mouseOption || t.byMouse) controls::MovePointer(c_, x, y);
    if (t.inDesiredState) return true;
    AutomationContext& a = c_.automation;
    pauseMs(a, 20);
    const bool reachable = input.available() && onVirtualScreen(input.virtualDesktop(), x, y);
    if (clickOption) {
      if (!reachable) return false;
      activateWindow(a, c_.window, false);
      clickAtPointer(kinds_ & kb::kRightClick ? Button::Right : Button::Left, (kinds_ & kb::kDoubleClick) != 0);
      return true;
    }
    if (e.doDefaultAction()) return true;
    if (t.byMouse) {
      if (!reachable) return false;
      clickAtPointer(Button::Left, false);
      return true;
    }
    // No default action: the Space key to the window at the element's centre.
    activateWindow(a, c_.window, false);
    const int cx = r.left + r.width / 2, cy = r.top + r.height / 2;
    WindowHandle under = input.available() ? input.windowFromPoint(cx, cy) : 0;
    c_.controls.pressKey(under != 0 ? under : c_.window, kVkSpace);
    return true;
  }

 private:
  enum class Button { Left, Right };
  static InputSession& session() { return currentInputSession(); }

  void clickAtPointer(Button button, bool twice) {
    namespace mf = platform::mouse_flags;
    InputContext ic{c_.automation, session()};
    const uint32_t down = button == Button::Right ? mf::kRightDown : mf::kLeftDown;
    const uint32_t up = button == Button::Right ? mf::kRightUp : mf::kLeftUp;
    for (int round = 0; round < (twice ? 2 : 1); ++round) {
      if (round > 0) pauseMs(c_.automation, 100);
      SendMouseAction(ic, down, 0, 0, 0, false, 0);
      SendMouseAction(ic, up, 0, 0, 0, false, 0);
    }
  }

  ControlContext& c_;
  uint32_t kinds_;
};

void pointerOnto(ControlContext& c, const AccessibleOutcome& outcome) {
  if (outcome.location) controls::MovePointer(c, outcome.location->left + 4, outcome.location->top + 4);
}

}  // namespace

bool AccessibilityEngine::click(ControlContext& c, const controls::ClickRequest& request) {
  AccessibleSearch s;
  s.kind = sk::kClick | (request.kinds & kClickModifiers);
  s.number = std::max(1, request.number);
  s.text = controls::PrepareSearchedName(request.rawName, (request.kinds & sk::kShort) != 0);
  s.mode = request.desired;
  return EngineSearch(c, std::move(s)).run(HitClicker(c, request.kinds)).found;
}

int AccessibilityEngine::checkState(ControlContext& c, const std::u16string& name, int number) {
  AccessibleSearch s;
  s.kind = sk::kCheckQuery;
  s.number = std::max(1, number);
  s.text = controls::PrepareSearchedName(name, false);
  const AccessibleOutcome outcome = EngineSearch(c, std::move(s)).run();
  if (!outcome.found) return -1;
  return outcome.text == u"2" ? 2 : outcome.text == u"1" ? 1 : 0;
}

void AccessibilityEngine::collect(ControlContext& c, uint32_t kinds, int number, bool includeUnavailable,
                                  std::vector<std::u16string>& out) {
  // One walk per collecting kind asked for, in the order clickable, text,
  // edit; the maximum (number, when above 0) holds for all of them together.
  const size_t before = out.size();
  for (uint32_t kind : {sk::kCollectClickable, sk::kCollectText, sk::kCollectEdit}) {
    if (!(kinds & kind)) continue;
    const int left = number > 0 ? number - static_cast<int>(out.size() - before) : 0;
    if (number > 0 && left <= 0) break;
    AccessibleSearch s;
    s.kind = kind | (kinds & kCollectModifiers & ~sk::kCollecting);
    s.number = 0;
    s.maxCount = left;
    s.mode = includeUnavailable ? 1 : 0;
    AccessibleOutcome outcome = EngineSearch(c, std::move(s)).run();
    for (std::u16string& text : outcome.collected) out.push_back(std::move(text));
  }
}

std::optional<std::u16string> AccessibilityEngine::readText(ControlContext& c, int number, int mode, bool mouse) {
  AccessibleSearch s;
  s.kind = mode == 3 ? sk::kEdit : mode == 4 ? sk::kStatic : sk::kCell;
  s.number = mode == 4 ? std::max(1, number) : std::max(0, number);
  const AccessibleOutcome outcome = EngineSearch(c, std::move(s)).run();
  if (!outcome.found) return std::nullopt;
  if (mouse) pointerOnto(c, outcome);
  return outcome.text;
}

bool AccessibilityEngine::setText(ControlContext& c, const std::u16string& text, int number, uint32_t elementKinds,
                                  bool append) {
  AccessibleSearch s;
  s.kind = elementKinds;
  s.number = std::max(0, number);
  s.text = text;
  s.mode = append ? 1 : 2;
  // An element that refuses its new value: the whole text replaces the text
  // of the control with the keyboard focus in the target.
  auto intoFocusedControl = [&c](const std::u16string& written) {
    const WindowHandle focused = c.controls.focusedControl(c.window);
    if (focused == 0 || !c.controls.setWindowText(focused, written)) return false;
    c.controls.postSetModified(focused);
    return true;
  };
  return EngineSearch(c, std::move(s)).run({}, intoFocusedControl).found;
}

platform::Accessibility& currentAccessibility() {
  platform::Accessibility* a = installed.load();
  return a ? *a : platform::systemAccessibility();
}

ScopedAccessibility::ScopedAccessibility(platform::Accessibility& accessibility)
    : previous_(installed.exchange(&accessibility)), previousEngine_(controls::InstalledAccessibleItems()) {
  controls::InstallAccessibleItems(&processAccessibilityEngine());
}

ScopedAccessibility::~ScopedAccessibility() {
  controls::InstallAccessibleItems(previousEngine_);
  installed.store(previous_);
}

AccessibilityEngine& processAccessibilityEngine() {
  static AccessibilityEngine engine;
  return engine;
}

}  // namespace maqo::automation::accessibility
