// A call-recording input for the input automation tests: every synthesised
// event, cursor move, hook and hot-key call is logged in order; key states,
// swapped buttons and the virtual desktop are set by the test. Sent keys and
// buttons change the recorded key states the way the real system would.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/input.h"

namespace maqo::platform {

class FakeInput final : public Input {
 public:
  // ---- what the test sets ----
  bool swapped = false;
  WindowRect desktop{0, 0, 1920, 1080};
  std::map<int, bool> physicallyDown;  // GetKeyState / GetAsyncKeyState high bit
  std::map<int, bool> toggled;         // GetKeyState bit 0
  std::map<int, bool> upForThread;     // GetKeyState says up although the key is down
  std::map<int, bool> pressedSince;    // GetAsyncKeyState bit 0, cleared when read
  bool ime = false;
  bool refuseHotKeys = false;
  std::map<std::pair<int, int>, WindowHandle> windowsAt;  // windowFromPoint
  uint64_t currentCursor = 0;

  // ---- what was done, in order ----
  // "key 16 down", "key 13 up ext", "char 12354 down", "mouse 0x2 x,y data",
  // "cursor x,y", "block 1", "hooks kb mouse", "unhook", "hotkey+ id mod vk",
  // "hotkey- id", "priority realtime", "priority normal".
  std::vector<std::string> log;
  std::vector<KeyInput> keys;
  std::vector<MouseInput> mice;
  std::pair<int, int> cursor{0, 0};
  HookDecider* decider = nullptr;
  std::map<int, std::pair<uint32_t, uint32_t>> hotKeys;  // id -> (modifiers, key)
  std::function<void(int)> hotKeyListener;
  int clearedStateEntries = 0;

  // Calls the registered listener as the message pump would for WM_HOTKEY.
  void fireHotKey(int id) {
    if (hotKeyListener) hotKeyListener(id);
  }
  // The log entries that start with prefix.
  std::vector<std::string> entries(const std::string& prefix) const;

  // ---- Input ----
  bool available() override { return true; }
  void sendKey(const KeyInput& key) override;
  void sendMouse(const MouseInput& mouse) override;
  void setCursorPos(int x, int y) override;
  std::optional<std::pair<int, int>> cursorPos() override { return cursor; }
  int16_t asyncKeyState(int virtualKey) override;
  int16_t keyState(int virtualKey) override;
  void clearKeyboardStateEntry(int virtualKey) override { ++clearedStateEntries; }
  uint16_t scanCode(int virtualKey) override { return static_cast<uint16_t>(virtualKey < 256 ? virtualKey + 0x100 : 0); }
  bool buttonsSwapped() override { return swapped; }
  WindowRect virtualDesktop() override { return desktop; }
  bool imeOpen() override { return ime; }
  WindowHandle windowFromPoint(int x, int y) override;
  bool blockInput(bool block) override;
  bool installHooks(bool keyboard, bool mouse, HookDecider& d) override;
  void removeHooks() override;
  bool hooksInstalled() override { return decider != nullptr; }
  void setRealtimePriority(bool realtime) override;
  void setHotKeyListener(std::function<void(int id)> fired) override { hotKeyListener = std::move(fired); }
  bool registerHotKey(int id, uint32_t modifiers, uint32_t virtualKey) override;
  void unregisterHotKey(int id) override;
  uint64_t systemCursor(int resourceId) override { return 0x10000 + static_cast<uint64_t>(resourceId); }
  uint64_t cursorUnderMouse() override { return currentCursor; }
};

}  // namespace maqo::platform
