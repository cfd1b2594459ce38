#include "platform/fake/fake_input.h"

namespace maqo::platform {

namespace {

std::string hex(uint32_t value) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value & 15]);
    value >>= 4;
  } while (value != 0);
  return "0x" + text;
}

// The button a MOUSEEVENTF_*DOWN/UP flag presses or releases: (VK, down).
std::pair<int, bool> buttonOf(uint32_t flags) {
  using namespace mouse_flags;
  switch (flags) {
    case kLeftDown: return {1, true};
    case kLeftUp: return {1, false};
    case kRightDown: return {2, true};
    case kRightUp: return {2, false};
    case kMiddleDown: return {4, true};
    case kMiddleUp: return {4, false};
    default: return {0, false};
  }
}

}  // namespace

std::vector<std::string> FakeInput::entries(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& e : log)
    if (e.compare(0, prefix.size(), prefix) == 0) found.push_back(e);
  return found;
}

void FakeInput::sendKey(const KeyInput& key) {
  keys.push_back(key);
  std::string text = key.unicode ? "char " + std::to_string(key.scan) : "key " + std::to_string(key.virtualKey);
  text += key.up ? " up" : " down";
  if (key.extended) text += " ext";
  log.push_back(text);
  if (!key.unicode) {
    physicallyDown[key.virtualKey] = !key.up;
    if (!key.up) pressedSince[key.virtualKey] = true;
  }
}

void FakeInput::sendMouse(const MouseInput& mouse) {
  mice.push_back(mouse);
  log.push_back("mouse " + hex(mouse.flags) + " " + std::to_string(mouse.dx) + "," + std::to_string(mouse.dy) + " " +
                std::to_string(mouse.mouseData));
  auto [button, down] = buttonOf(mouse.flags);
  if (button != 0) {
    physicallyDown[button] = down;
    if (down) pressedSince[button] = true;
  }
}

void FakeInput::setCursorPos(int x, int y) {
  cursor = {x, y};
  log.push_back("cursor " + std::to_string(x) + "," + std::to_string(y));
}

int16_t FakeInput::asyncKeyState(int virtualKey) {
  int16_t state = physicallyDown[virtualKey] ? int16_t(0x8000) : 0;
  if (pressedSince[virtualKey]) state |= 1;
  pressedSince[virtualKey] = false;
  return state;
}

int16_t FakeInput::keyState(int virtualKey) {
  int16_t state = physicallyDown[virtualKey] && !upForThread[virtualKey] ? int16_t(0x8000) : 0;
  if (toggled[virtualKey]) state |= 1;
  return state;
}

WindowHandle FakeInput::windowFromPoint(int x, int y) {
  auto it = windowsAt.find({x, y});
  return it == windowsAt.end() ? 0 : it->second;
}

bool FakeInput::blockInput(bool block) {
  log.push_back(block ? "block 1" : "block 0");
  return true;
}

bool FakeInput::installHooks(bool keyboard, bool mouse, HookDecider& d) {
  log.push_back(std::string("hooks") + (keyboard ? " kb" : "") + (mouse ? " mouse" : ""));
  decider = &d;
  return true;
}

void FakeInput::removeHooks() {
  if (decider) log.push_back("unhook");
  decider = nullptr;
}

void FakeInput::setRealtimePriority(bool realtime) { log.push_back(realtime ? "priority realtime" : "priority normal"); }

bool FakeInput::registerHotKey(int id, uint32_t modifiers, uint32_t virtualKey) {
  log.push_back("hotkey+ " + std::to_string(id) + " " + std::to_string(modifiers) + " " + std::to_string(virtualKey));
  if (refuseHotKeys) return false;
  hotKeys[id] = {modifiers, virtualKey};
  return true;
}

void FakeInput::unregisterHotKey(int id) {
  log.push_back("hotkey- " + std::to_string(id));
  hotKeys.erase(id);
}

}  // namespace maqo::platform
