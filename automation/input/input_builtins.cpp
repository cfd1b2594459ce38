// MMV, BTN, KBD, SCKEY, MOUSEORG, LOCKHARD, LOCKHARDEX, GETKEYSTATE, MUSCUR,
// SETHOTKEY and the run-end release.
#include "automation/input/input_builtins.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "automation/builtin_support.h"
#include "automation/input/input_actions.h"
#include "automation/input/input_messages.h"
#include "automation/input/key_mapping.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_finder.h"
#include "automation/windows/window_waits.h"
#include "engine/threads/routed_ui.h"

namespace maqo::automation {

using engine::ScriptValue;
using platform::WindowHandle;
namespace mf = platform::mouse_flags;

namespace {

constexpr int kLeft = 0, kRight = 1, kMiddle = 2, kWheel = 9;


// The session of an input builtin; the "needs Windows" error where there is no input.
InputSession& inputSession(const builtins::BuiltinCall& call) {
  InputSession& session = currentInputSession();
  if (!session.input().available()) throw builtins::messages::needsWindows(call.entry.name);
  return session;
}

// The call's automation context and input context, as two locals.
#define INPUT_CALL(name)                                                  \
  AutomationContext name##Automation = desktopContext(call, host);         \
  InputContext name{name##Automation, inputSession(call)}

// Takes a lock for one action; the wait is bounded so that a thread that was
// abandoned while holding it cannot stop every other. The bound is on the
// system clock: that wait is pthread_mutex_timedlock, which ThreadSanitizer
// follows (a steady-clock wait uses pthread_mutex_clocklock, which the
// sanitizer's runtime here does not see, so it reports every unlock).
class ActionGuard {
 public:
  explicit ActionGuard(std::recursive_timed_mutex& m)
      : m_(m), held_(m.try_lock_until(std::chrono::system_clock::now() + std::chrono::seconds(5))) {}
  ~ActionGuard() {
    if (held_) m_.unlock();
  }

 private:
  std::recursive_timed_mutex& m_;
  bool held_;
};

// Work that needs the user-interface thread's message loop (the hooks, hot keys).
void onUiThread(builtins::BuiltinHost& host, const std::function<void()>& work) {
  if (auto* routed = dynamic_cast<engine::RoutedUi*>(&host.platform().ui); routed && !host.onMainThread())
    routed->onUiThread(work);
  else
    work();
}

void sleepFor(AutomationContext& c, int ms) {
  if (ms < 1000)
    c.platform.clock.sleepMs(ms);
  else
    longWait(c, ms);
}

bool swappedButtons(InputSession& s) { return s.swapped.load(); }

}  // namespace

ScriptValue Mmv(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  INPUT_CALL(c);
  AutomationContext& a = c.automation;
  const int delay = std::max(IntArgument(call, 2), 0);
  if (a.mainThread && delay - call.pacingMs <= 0 && delay - call.pacingMs >= -9)
    a.platform.clock.sleepMs(0);
  else
    actionDelay(a, delay, call.pacingMs);
  const int x = IntArgument(call, 0), y = IntArgument(call, 1);
  if (const WindowHandle w = DirectWindow(c)) {
    a.desktop.postMessage(w, 0x0200, c.session.direct.mouseKeyFlags(),
                          (static_cast<uint32_t>(y) << 16) | (static_cast<uint32_t>(x) & 0xFFFF));
    return ScriptValue::empty();
  }
  auto [sx, sy] = ToScreen(c, x, y);
  const platform::WindowRect desk = c.input().virtualDesktop();
  sx = std::clamp(sx, desk.left, std::max(desk.left, desk.right - 1));
  sy = std::clamp(sy, desk.top, std::max(desk.top, desk.bottom - 1));
  c.input().setCursorPos(sx, sy);
  return ScriptValue::empty();
}

ScriptValue Btn(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  INPUT_CALL(c);
  AutomationContext& a = c.automation;
  platform::Input& input = c.input();
  actionDelay(a, std::max(IntArgument(call, 4), 0), call.pacingMs);
  int button = IntArgument(call, 0);
  const int action = IntArgument(call, 1);
  int x = IntArgument(call, 2), y = IntArgument(call, 3);
  const WindowHandle directWindow = DirectWindow(c);
  const bool direct = directWindow != 0;
  if (!direct && call.count() >= 3) {
    std::tie(x, y) = ToScreen(c, x, y);
    const platform::WindowRect desk = input.virtualDesktop();
    if (x == desk.right) --x;
    if (y == desk.bottom) --y;
    if (x < desk.left || x >= desk.right || y < desk.top || y >= desk.bottom) return ScriptValue::empty();
    input.setCursorPos(x, y);
  }
  ActionGuard guard(c.session.actionLock);
  // Swapped buttons: LEFT means the primary button, which the system calls right.
  if (!direct && swappedButtons(c.session) && (button == kLeft || button == kRight)) button = 1 - button;
  if (button == kWheel) {
    SendMouseAction(c, mf::kWheel, x, y, directWindow, direct, action);
    if (action == 0) a.platform.clock.sleepMs(20);
    return ScriptValue::empty();
  }
  if (button != kLeft && button != kRight && button != kMiddle) return ScriptValue::empty();
  const int vk = button == kLeft ? 1 : button == kRight ? 2 : 4;
  const HeldButton held = button == kLeft ? HeldButton::Left : button == kRight ? HeldButton::Right : HeldButton::Middle;
  // The held entry names the control that took the press, so the release at
  // run end reaches the same control.
  const WindowHandle heldWindow = direct ? DirectClickTarget(a, directWindow, x, y).first : 0;
  if (action == 0 || action == 1) {
    const uint32_t down = button == kLeft ? mf::kLeftDown : button == kRight ? mf::kRightDown : mf::kMiddleDown;
    const bool wasDown = (input.asyncKeyState(vk) & 0x8000) != 0;
    SendMouseAction(c, down, x, y, directWindow, direct, 0);
    if (!wasDown) input.asyncKeyState(vk);
    c.session.held.add(HeldInputList::buttonText(held, heldWindow));
  }
  if (action == 0) a.platform.clock.sleepMs(20);
  if (action == 0 || action == 2) {
    const uint32_t up = button == kLeft ? mf::kLeftUp : button == kRight ? mf::kRightUp : mf::kMiddleUp;
    SendMouseAction(c, up, x, y, directWindow, direct, 0);
    c.session.held.remove(HeldInputList::buttonText(held, heldWindow));
    if (a.mainThread && button == kLeft) a.session.newWindowExpected = true;
    if (a.mainThread && button == kRight) a.session.newWindowExpected = false;
  }
  return ScriptValue::empty();
}

ScriptValue Kbd(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  INPUT_CALL(c);
  AutomationContext& a = c.automation;
  const int code = IntArgument(call, 0);
  const int action = IntArgument(call, 1);
  sleepFor(a, std::max(IntArgument(call, 2), 2));
  const WindowHandle directWindow = DirectWindow(c);
  const bool direct = directWindow != 0;
  const std::u16string entry = HeldInputList::keyText(code, directWindow);
  ActionGuard guard(c.session.actionLock);
  if (action == 0 || action == 1) {
    SendKeyAction(c, code, KeyAction::Down, directWindow, direct);
    c.session.held.add(entry);
  }
  if (action == 0 || action == 2) {
    SendKeyAction(c, code, KeyAction::Up, directWindow, direct);
    c.session.held.remove(entry);
    if (a.mainThread && (code == 13 || code == kKeypadEnter)) a.session.newWindowExpected = true;
  }
  return ScriptValue::empty();
}

namespace {

// A key argument of SCKEY: its number, or a single character's upper-case code.
int keyArgument(const builtins::BuiltinCall& call, int index) {
  const builtins::BuiltinArgument& arg = call.at(index);
  if (arg.isNumber) return ClampedInt(arg.number);
  if (arg.text.size() == 1) {
    char16_t ch = arg.text[0];
    if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - u'a' + u'A');
    return ch;
  }
  return 0;
}

}  // namespace

ScriptValue Sckey(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  INPUT_CALL(c);
  AutomationContext& a = c.automation;
  platform::Desktop& d = a.desktop;
  ActionGuard guard(c.session.shortcutLock);
  std::vector<int> keys;
  for (int i = 1; i < call.count() && !call.text(i).empty(); ++i) keys.push_back(keyArgument(call, i));
  const WindowHandle h = a.session.ids.handleOf(call.integer(0), false, d);
  if (keys.empty() || h == 0 || !d.isWindow(h)) return ScriptValue::empty();
  waitUntilResponsive(a, h);
  const int hiddenState = d.isIconic(h) ? 1 : !d.isVisible(h) ? 2 : 0;

  // Alt would reach a locked desktop only through the lock; lift it meanwhile.
  const bool altInvolved = std::any_of(keys.begin(), keys.end(), [](int k) { return k == 18 || k == 164 || k == 165; });
  const bool relock = altInvolved && c.session.lock.active;
  if (relock) onUiThread(host, [&] { UnlockInput(c); });

  WindowHandle previousForeground = 0;
  platform::WindowRect savedRect;
  if (hiddenState != 0) {
    previousForeground = d.foreground();
    d.show(h, hiddenState == 1 ? platform::ShowCommand::ShowNormal : platform::ShowCommand::Show);
    savedRect = d.windowRect(h).value_or(platform::WindowRect{});
    d.setPosition(h, platform::ZPlacement::Unchanged, 999999, 999999, 0, 0, {false, true, true});
  }
  activateWindow(a, h, false);
  std::vector<int> heldModifiers;
  for (int key : keys) {
    if (a.stopRequested()) break;
    waitUntilResponsive(a, h);
    pauseMs(a, 20);
    if (IsShortcutModifier(key)) {
      SendKeyAction(c, key, KeyAction::Down, 0, false);
      heldModifiers.push_back(key);
    } else {
      SendKeyAction(c, key, KeyAction::Click, 0, false);
    }
  }
  a.platform.clock.sleepMs(20);
  messagePause(a, 40);
  if (std::find(a.session.own.forms.begin(), a.session.own.forms.end(), h) != a.session.own.forms.end())
    for (int i = 0; i < 2; ++i) {
      a.platform.clock.sleepMs(40);
      messagePause(a, 80);
    }
  for (auto it = heldModifiers.rbegin(); it != heldModifiers.rend(); ++it) SendKeyAction(c, *it, KeyAction::Up, 0, false);
  a.platform.clock.sleepMs(20);
  messagePause(a, 40);
  if (hiddenState != 0) {
    d.setPosition(h, platform::ZPlacement::Unchanged, savedRect.left, savedRect.top, 0, 0, {false, true, true});
    d.show(h, hiddenState == 1 ? platform::ShowCommand::Minimize : platform::ShowCommand::Hide);
    if (previousForeground != 0) activateWindow(a, previousForeground, true);
  }
  if (relock) onUiThread(host, [&] { LockInput(c); });
  if (a.mainThread) a.session.newWindowExpected = true;
  a.platform.clock.sleepMs(20);
  messagePause(a, 40);
  return ScriptValue::empty();
}

ScriptValue Mouseorg(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  INPUT_CALL(c);
  const int64_t id = call.integer(0);
  if (id == -1) return ScriptValue::empty();
  OriginSettings& o = c.origin();
  o.window = id;
  o.mode = IntArgument(call, 1);
  o.captureMode = IntArgument(call, 2);
  if (o.mode == kOriginDirect) {
    ActionGuard guard(c.session.actionLock);
    c.session.direct = {};
    o.window = static_cast<int64_t>(c.automation.session.ids.resolveWindow(id, c.automation.desktop));
  }
  return ScriptValue::empty();
}

ScriptValue Lockhard(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  INPUT_CALL(c);
  const bool lock = call.number(0) != 0;
  onUiThread(host, [&] {
    UnlockInput(c);
    c.session.lock.kind = LockKind::None;
    if (!lock) return;
    c.session.lock.kind = LockKind::Hard;
    LockInput(c);
  });
  return ScriptValue::empty();
}

ScriptValue Lockhardex(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  INPUT_CALL(c);
  const bool unlockOnly = call.count() == 0;
  const int64_t id = call.integer(0);
  const WindowHandle protectedWindow = id == 0 ? 0 : c.automation.session.ids.handleOf(id, true, c.automation.desktop);
  const int device = IntArgument(call, 1);
  onUiThread(host, [&] {
    UnlockInput(c);
    c.session.lock.kind = LockKind::None;
    if (unlockOnly) return;
    c.session.lock.protectedWindow = protectedWindow;
    c.session.lock.device = device;
    c.session.lock.kind = LockKind::Hooks;
    LockInput(c);
  });
  return ScriptValue::empty();
}

ScriptValue Getkeystate(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  INPUT_CALL(c);
  platform::Input& input = c.input();
  int code = IntArgument(call, 0);
  switch (code) {
    case 10000: return ScriptValue::builtinBool((input.keyState(144) & 1) != 0);  // Num Lock
    case 10001: return ScriptValue::builtinBool((input.keyState(20) & 1) != 0);   // Caps Lock
    case 10002: return ScriptValue::builtinBool((input.keyState(145) & 1) != 0);  // Scroll Lock
    case 10003: return ScriptValue::builtinBool((input.keyState(21) & 1) != 0);   // Kana
    case 10004: return ScriptValue::builtinBool(input.imeOpen());
    default: break;
  }
  if (code < 0 || code > 0xFFFF) return ScriptValue::builtinBool(false);
  if (swappedButtons(c.session) && (code == 1 || code == 2)) code = 3 - code;
  if (code == kKeypadEnter) code = 13;
  const int16_t async = input.asyncKeyState(code);
  // A key the system still thinks is down while this thread's state says up
  // would keep reporting TRUE: make the thread's state forget it.
  if (code > 7 && (async & 0x8000) && !(input.keyState(code) & 0x8000)) input.clearKeyboardStateEntry(code);
  // A button the pauses saw pressed counts once, even when it is up again.
  const bool seenByPauses = c.session.takeMouseButtonSeen(code);
  return ScriptValue::builtinBool(async != 0 || seenByPauses);
}

ScriptValue Muscur(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  INPUT_CALL(c);
  static constexpr int kCursorIds[16] = {32650, 32512, 32515, 32649, 32651, 32513, 32641, 32648,
                                         32640, 32646, 32643, 32645, 32642, 32644, 32516, 32514};
  platform::Input& input = c.input();
  const uint64_t current = input.cursorUnderMouse();
  for (int i = 0; i < 16; ++i)
    if (current != 0 && input.systemCursor(kCursorIds[i]) == current) return ScriptValue::int32(i + 1);
  const int32_t handle = static_cast<int32_t>(static_cast<uint32_t>(current));
  return ScriptValue::int32(handle > 0 ? -handle : handle);
}

ScriptValue Sethotkey(builtins::BuiltinCall& call, builtins::BuiltinHost& host) {
  if (!host.onMainThread()) throw input_messages::hotKeyFromThread();
  INPUT_CALL(c);
  platform::Input& input = c.input();
  const uint32_t key = static_cast<uint32_t>(IntArgument(call, 0));
  const uint32_t modifiers = static_cast<uint32_t>(IntArgument(call, 1));
  if (key == 0 && modifiers == 0) return ScriptValue::builtinBool(false);
  HotKeyTable& table = c.session.hotKeys;
  const int slot = table.slotFor(key, modifiers);
  TsvHotkey& entry = *table.at(slot);
  if (entry.active()) input.unregisterHotKey(slot);
  entry.function.clear();
  entry.handler = nullptr;
  entry.registered = false;
  const std::u16string name = call.text(2);
  if (name.empty()) return ScriptValue::builtinBool(true);
  HotKeyHandler handler = host.hotkeyHandler(name);
  if (!handler) throw input_messages::noSuchFunction(name);
  entry.function = AsciiUpper(name);
  entry.handler = std::move(handler);
  InputSession& session = c.session;
  input.setHotKeyListener([&session](int id) {
    TsvHotkey* fired = session.hotKeys.at(id);
    if (fired == nullptr || !fired->active() || !fired->handler) return;
    // The handler may change the table (SETHOTKEY inside it): run a copy.
    const HotKeyHandler run = fired->handler;
    run(static_cast<int>(fired->virtualKey), static_cast<int>(fired->modifiers));
  });
  entry.registered = input.registerHotKey(slot, modifiers, key);
  return ScriptValue::builtinBool(entry.registered);
}

std::span<const builtins::NamedBuiltin> InputBuiltins() {
  static const builtins::NamedBuiltin table[] = {
      {u"MMV", &Mmv},           {u"BTN", &Btn},           {u"KBD", &Kbd},
      {u"SCKEY", &Sckey},       {u"MOUSEORG", &Mouseorg}, {u"LOCKHARD", &Lockhard},
      {u"LOCKHARDEX", &Lockhardex}, {u"GETKEYSTATE", &Getkeystate}, {u"MUSCUR", &Muscur},
      {u"SETHOTKEY", &Sethotkey},
  };
  return table;
}

namespace {

AutomationContext runEndContext(platform::Platform& platform) {
  AutomationSession& session = currentSession();
  return AutomationContext{session.desktop(), session, platform, [] { return false; }, true, -1};
}

}  // namespace

void ReleaseInputAtRunEnd(platform::Platform& platform) {
  InputSession& session = currentInputSession();
  AutomationContext automation = runEndContext(platform);
  InputContext c{automation, session};
  {
    ActionGuard guard(session.actionLock);
    ReleaseHeldInput(c);
  }
  session.prepareRun();
}

void NoteMouseButtonsSeen() { currentInputSession().noteMouseButtonsSeen(); }

void ReleaseInputLock(platform::Platform& platform) {
  InputSession& session = currentInputSession();
  AutomationContext automation = runEndContext(platform);
  InputContext c{automation, session};
  UnlockInput(c);
  session.lock.kind = LockKind::None;
}

}  // namespace maqo::automation
