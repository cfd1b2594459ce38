#include "automation/input/input_actions.h"

#include <algorithm>

#include "automation/input/key_mapping.h"
#include "automation/windows/window_waits.h"

namespace maqo::automation {

using platform::WindowHandle;
namespace mf = platform::mouse_flags;

namespace {

constexpr uint32_t kWmKeyDown = 0x0100, kWmKeyUp = 0x0101, kWmMouseMove = 0x0200, kWmMouseWheel = 0x020A;

bool isDown(int16_t state) { return (state & 0x8000) != 0; }

// The posted message of a MOUSEEVENTF_* button flag.
uint32_t buttonMessage(uint32_t eventFlag) {
  switch (eventFlag) {
    case mf::kLeftDown: return 0x0201;
    case mf::kLeftUp: return 0x0202;
    case mf::kRightDown: return 0x0204;
    case mf::kRightUp: return 0x0205;
    case mf::kMiddleDown: return 0x0207;
    case mf::kMiddleUp: return 0x0208;
    default: return 0;
  }
}

uint32_t pointLParam(int x, int y) { return (static_cast<uint32_t>(y) << 16) | (static_cast<uint32_t>(x) & 0xFFFF); }

// One key event through SendInput; a character above the basic plane goes as
// its two UTF-16 halves.
void sendRawKey(platform::Input& input, const MappedKey& key, uint16_t scan, bool up) {
  if (!key.character) {
    input.sendKey({static_cast<uint16_t>(key.virtualKey), scan, key.extended, up, false});
    return;
  }
  const uint32_t c = static_cast<uint32_t>(key.virtualKey);
  if (c > 0xFFFF) {
    const uint32_t v = c - 0x10000;
    input.sendKey({0, static_cast<uint16_t>(0xD800 + (v >> 10)), false, up, true});
    input.sendKey({0, static_cast<uint16_t>(0xDC00 + (v & 0x3FF)), false, up, true});
  } else {
    input.sendKey({0, static_cast<uint16_t>(c), false, up, true});
  }
}

// Press or release one physical key for a moment (direct mode's modifier fix-ups).
void tapRaw(platform::Input& input, int vk, bool up) {
  input.sendKey({static_cast<uint16_t>(vk), input.scanCode(vk), false, up, false});
}

void sendKeySystem(InputContext& c, int code, KeyAction action, const MappedKey& key, uint16_t scan) {
  platform::Input& input = c.input();
  const bool press = action != KeyAction::Up;
  std::vector<int> suspended;
  if (press) {
    // The script must not trigger its own hot keys.
    suspended = c.session.hotKeys.triggeredBy(code);
    for (int slot : suspended) input.unregisterHotKey(slot);
  }
  if (press) {
    const bool wasDown = !key.character && isDown(input.asyncKeyState(key.virtualKey));
    sendRawKey(input, key, scan, false);
    // Reading the state again clears the pressed-since bit of our own press.
    if (!key.character && !wasDown) input.asyncKeyState(key.virtualKey);
  }
  if (action != KeyAction::Down) sendRawKey(input, key, scan, true);
  for (int slot : suspended)
    if (TsvHotkey* k = c.session.hotKeys.at(slot)) k->registered = input.registerHotKey(slot, k->modifiers, k->virtualKey);
}

// The held direct-mode modifier of a base key 16, 17 or 18.
int& directModifier(DirectModeState& state, int baseKey) {
  return baseKey == 16 ? state.shift : baseKey == 17 ? state.ctrl : state.alt;
}

void sendKeyDirect(InputContext& c, int code, KeyAction action, const MappedKey& key, uint16_t scan, WindowHandle w) {
  platform::Desktop& d = c.automation.desktop;
  if (!d.isWindow(w)) return;
  platform::Input& input = c.input();
  if (!key.character && key.virtualKey >= 16 && key.virtualKey <= 18) {
    int& held = directModifier(c.session.direct, key.virtualKey);
    if (action != KeyAction::Up) held = code;
    if (action != KeyAction::Down) held = 0;
    return;
  }
  const uint32_t wParam = static_cast<uint32_t>(key.character ? code : key.virtualKey);
  if (action != KeyAction::Up) {
    // The target reads the modifier state of its own keyboard: make it match
    // what the script holds for the length of the key press.
    struct Change {
      int vk;
      bool pressed;
    };
    std::vector<Change> changes;
    static constexpr int kSides[3][3] = {{16, 160, 161}, {17, 162, 163}, {18, 164, 165}};
    for (const auto& side : kSides) {
      const int held = directModifier(c.session.direct, side[0]);
      const bool leftDown = isDown(input.keyState(side[1])), rightDown = isDown(input.keyState(side[2]));
      if (held == 0 && (leftDown || rightDown)) {
        const int vk = leftDown ? side[1] : side[2];
        tapRaw(input, vk, true);
        changes.push_back({vk, false});
      } else if (held != 0 && !leftDown && !rightDown) {
        tapRaw(input, held, false);
        changes.push_back({held, true});
      }
    }
    if (!changes.empty()) c.automation.platform.clock.sleepMs(4);
    d.postMessage(w, kWmKeyDown, wParam, KeyDownLParam(scan, key.extended));
    messagePause(c.automation, 40);
    for (auto it = changes.rbegin(); it != changes.rend(); ++it) tapRaw(input, it->vk, it->pressed);
    if (!changes.empty()) c.automation.platform.clock.sleepMs(4);
  }
  if (action != KeyAction::Down) d.postMessage(w, kWmKeyUp, wParam, KeyUpLParam(scan, key.extended));
}

}  // namespace

WindowHandle DirectWindow(InputContext& c) {
  const OriginSettings& o = c.origin();
  if (o.mode != kOriginDirect || o.window <= 0) return 0;
  const WindowHandle h = static_cast<WindowHandle>(o.window);
  return c.automation.desktop.isWindow(h) ? h : 0;
}

void SendKeyAction(InputContext& c, int code, KeyAction action, WindowHandle window, bool direct) {
  const uint16_t scan = code < kFirstCharacterCode ? c.input().scanCode(code) : 0;
  const MappedKey key = MapKey(code);
  if (direct)
    sendKeyDirect(c, code, action, key, scan, window);
  else
    sendKeySystem(c, code, action, key, scan);
}

std::pair<WindowHandle, std::pair<int, int>> DirectClickTarget(AutomationContext& c, WindowHandle window, int x, int y) {
  platform::Desktop& d = c.desktop;
  const auto base = d.clientOrigin(window);
  if (!base) return {window, {x, y}};
  const int screenX = base->first + x, screenY = base->second + y;
  WindowHandle target = window;
  std::pair<int, int> point{x, y};
  for (WindowHandle child : d.descendants(window)) {
    // A hidden control (another tab's page) does not take clicks.
    if (!d.isVisible(child)) continue;
    const auto rect = d.windowRect(child);
    if (!rect || screenX < rect->left || screenX >= rect->right || screenY < rect->top || screenY >= rect->bottom)
      continue;
    const auto origin = d.clientOrigin(child);
    target = child;
    point = origin ? std::pair{screenX - origin->first, screenY - origin->second}
                   : std::pair{screenX - rect->left, screenY - rect->top};
  }
  return {target, point};
}

void SendMouseAction(InputContext& c, uint32_t eventFlag, int x, int y, WindowHandle window, bool direct, int notches) {
  if (!direct) {
    c.input().sendMouse({x, y, notches * 120, eventFlag});
    return;
  }
  platform::Desktop& d = c.automation.desktop;
  if (!d.isWindow(window)) return;
  const auto [target, point] = DirectClickTarget(c.automation, window, x, y);
  const auto [px, py] = point;
  DirectModeState& state = c.session.direct;
  d.postMessage(target, kWmMouseMove, state.mouseKeyFlags(), pointLParam(px + 1, py + 1));
  d.postMessage(target, kWmMouseMove, state.mouseKeyFlags(), pointLParam(std::max(px - 1, 0), std::max(py - 1, 0)));
  d.postMessage(target, kWmMouseMove, state.mouseKeyFlags(), pointLParam(px, py));
  platform::Input& input = c.input();
  std::vector<int> pressed;
  for (int held : {state.shift, state.ctrl})
    if (held != 0 && !isDown(input.keyState(held))) {
      SendKeyAction(c, held, KeyAction::Down, 0, false);
      pressed.push_back(held);
    }
  if (eventFlag == mf::kWheel)
    d.postMessage(target, kWmMouseWheel, (static_cast<uint32_t>(notches * 120) << 16) | state.mouseKeyFlags(),
                  pointLParam(px, py));
  else if (const uint32_t message = buttonMessage(eventFlag))
    d.postMessage(target, message, state.mouseKeyFlags(), pointLParam(px, py));
  messagePause(c.automation, 40);
  for (int held : pressed) SendKeyAction(c, held, KeyAction::Up, 0, false);
  switch (eventFlag) {
    case mf::kLeftDown: state.left = true; break;
    case mf::kLeftUp: state.left = false; break;
    case mf::kRightDown: state.right = true; break;
    case mf::kRightUp: state.right = false; break;
    case mf::kMiddleDown: state.middle = true; break;
    case mf::kMiddleUp: state.middle = false; break;
    default: break;
  }
}

std::pair<int, int> ToScreen(InputContext& c, int x, int y) {
  OriginSettings& o = c.origin();
  if (o.window == 0) {
    o.x = o.y = 0;
  } else {
    platform::Desktop& d = c.automation.desktop;
    const WindowHandle h = c.automation.session.ids.resolveWindow(o.window, d);
    if (h != 0 && d.isWindow(h) && !d.isIconic(h)) {
      if (o.mode == kOriginWindow) {
        if (auto r = d.windowRect(h)) o.x = r->left, o.y = r->top;
      } else if (auto p = d.clientOrigin(h)) {
        o.x = p->first, o.y = p->second;
      }
    }
  }
  return {x + o.x, y + o.y};
}

void LockInput(InputContext& c) {
  platform::Input& input = c.input();
  InputLockState& lock = c.session.lock;
  messagePause(c.automation, 4);
  input.setRealtimePriority(true);
  // Nothing may stay pressed while the user cannot release it.
  for (int vk = 0; vk < 256; ++vk) input.asyncKeyState(vk);
  for (int round = 0; round < 2; ++round)
    for (int vk = 0; vk <= 145; ++vk)
      if (isDown(input.asyncKeyState(vk))) {
        SendKeyAction(c, vk, KeyAction::Click, 0, false);
        input.asyncKeyState(vk);
      }
  if (lock.kind == LockKind::Hard) {
    input.blockInput(true);
    lock.active = true;
  } else if (lock.kind == LockKind::Hooks) {
    platform::Desktop& d = c.automation.desktop;
    lock.filter = std::make_unique<LockFilter>(
        lock.protectedWindow, [&d] { return d.foreground(); },
        [&d, &input](int x, int y) {
          WindowHandle h = input.windowFromPoint(x, y);
          for (int depth = 0; h != 0 && depth < 64; ++depth) {
            const WindowHandle up = d.parent(h);
            if (up == 0) break;
            h = up;
          }
          return h;
        },
        [&input] { input.removeHooks(); });
    lock.active = input.installHooks(lock.device != 2, lock.device != 1, *lock.filter);
  }
  input.setRealtimePriority(false);
}

void UnlockInput(InputContext& c) {
  InputLockState& lock = c.session.lock;
  if (!lock.active) return;
  if (lock.kind == LockKind::Hard)
    c.input().blockInput(false);
  else if (lock.kind == LockKind::Hooks)
    c.input().removeHooks();
  lock.active = false;
}

void ReleaseHeldInput(InputContext& c) {
  // Hot keys first: the releases below let messages run, and a hot key must
  // not start a script function of a run that is ending.
  for (int slot : c.session.hotKeys.activeSlots()) c.input().unregisterHotKey(slot);
  c.session.hotKeys.clear();
  for (const std::u16string& text : c.session.held.takeAll()) {
    const auto entry = HeldInputList::parse(text);
    if (!entry) continue;
    const bool direct = entry->directWindow != 0;
    if (entry->button) {
      const uint32_t up = *entry->button == HeldButton::Left    ? mf::kLeftUp
                          : *entry->button == HeldButton::Right ? mf::kRightUp
                                                                : mf::kMiddleUp;
      SendMouseAction(c, up, 0, 0, entry->directWindow, direct, 0);
    } else {
      SendKeyAction(c, entry->keyCode, KeyAction::Up, entry->directWindow, direct);
    }
  }
  UnlockInput(c);
  c.session.lock.kind = LockKind::None;
  c.session.direct = {};
}

}  // namespace maqo::automation
