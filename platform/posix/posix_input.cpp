// The native build has no input devices: the input reports that it is not
// available, so the input builtins raise their "needs Windows" error before
// asking it anything, and everything else does nothing.
#include "platform/input.h"

namespace maqo::platform {

namespace {

class NoInput final : public Input {
 public:
  bool available() override { return false; }
  void sendKey(const KeyInput&) override {}
  void sendMouse(const MouseInput&) override {}
  void setCursorPos(int, int) override {}
  std::optional<std::pair<int, int>> cursorPos() override { return std::nullopt; }
  int16_t asyncKeyState(int) override { return 0; }
  int16_t keyState(int) override { return 0; }
  void clearKeyboardStateEntry(int) override {}
  uint16_t scanCode(int) override { return 0; }
  bool buttonsSwapped() override { return false; }
  WindowRect virtualDesktop() override { return {}; }
  bool imeOpen() override { return false; }
  WindowHandle windowFromPoint(int, int) override { return 0; }
  bool blockInput(bool) override { return false; }
  bool installHooks(bool, bool, HookDecider&) override { return false; }
  void removeHooks() override {}
  bool hooksInstalled() override { return false; }
  void setRealtimePriority(bool) override {}
  void setHotKeyListener(std::function<void(int)>) override {}
  bool registerHotKey(int, uint32_t, uint32_t) override { return false; }
  void unregisterHotKey(int) override {}
  uint64_t systemCursor(int) override { return 0; }
  uint64_t cursorUnderMouse() override { return 0; }
};

}  // namespace

Input& systemInput() {
  static NoInput input;
  return input;
}

}  // namespace maqo::platform
