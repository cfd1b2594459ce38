// The input seam: synthesised key and mouse events, the cursor, key states,
// the input lock (BlockInput and low-level hooks), system-wide hot keys and
// cursor shapes. The input automation logic (automation/input/) asks only
// these questions, so it runs natively against the call-recording fake of
// platform/fake/fake_input.h. The win32 build answers with user32; the native
// build has no input devices and reports that through available().
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "platform/desktop.h"

namespace maqo::platform {

// One KEYBDINPUT. unicode: wVk is 0 and scan holds the character.
struct KeyInput {
  uint16_t virtualKey = 0;
  uint16_t scan = 0;
  bool extended = false;
  bool up = false;
  bool unicode = false;
  bool operator==(const KeyInput&) const = default;
};

// MOUSEEVENTF_* values the logic uses.
namespace mouse_flags {
inline constexpr uint32_t kLeftDown = 0x0002, kLeftUp = 0x0004, kRightDown = 0x0008, kRightUp = 0x0010,
                          kMiddleDown = 0x0020, kMiddleUp = 0x0040, kWheel = 0x0800;
}

// One MOUSEINPUT without the move flag: dx and dy do not move the pointer.
struct MouseInput {
  int32_t dx = 0, dy = 0;
  int32_t mouseData = 0;
  uint32_t flags = 0;
  bool operator==(const MouseInput&) const = default;
};

// What a low-level hook saw. message: WM_KEYDOWN, WM_LBUTTONDOWN ...
struct HookEvent {
  uint32_t message = 0;
  uint32_t virtualKey = 0;  // keyboard events
  int32_t x = 0, y = 0;     // mouse events, screen coordinates
  bool ours = false;        // dwExtraInfo 1: input this system synthesised
};

enum class HookVerdict { Pass, Swallow };

// The low-level hooks' questions; answered on the thread that installed them.
class HookDecider {
 public:
  virtual ~HookDecider() = default;
  virtual HookVerdict keyboard(const HookEvent& event) = 0;
  virtual HookVerdict mouse(const HookEvent& event) = 0;
};

class Input {
 public:
  virtual ~Input() = default;

  // False where there is no window system (the native build).
  virtual bool available() = 0;

  // ---- synthesis: one SendInput each, tagged with dwExtraInfo 1 ----
  virtual void sendKey(const KeyInput& key) = 0;
  virtual void sendMouse(const MouseInput& mouse) = 0;
  virtual void setCursorPos(int x, int y) = 0;
  virtual std::optional<std::pair<int, int>> cursorPos() = 0;

  // ---- key states ----
  virtual int16_t asyncKeyState(int virtualKey) = 0;
  virtual int16_t keyState(int virtualKey) = 0;
  // Clears one entry of the calling thread's keyboard state (Get/SetKeyboardState).
  virtual void clearKeyboardStateEntry(int virtualKey) = 0;
  // MapVirtualKeyW(MAPVK_VK_TO_VSC).
  virtual uint16_t scanCode(int virtualKey) = 0;
  // GetSystemMetrics(SM_SWAPBUTTON).
  virtual bool buttonsSwapped() = 0;
  // The bounds of the virtual desktop (all monitors).
  virtual WindowRect virtualDesktop() = 0;
  // The open state of the foreground window's IME.
  virtual bool imeOpen() = 0;
  virtual WindowHandle windowFromPoint(int x, int y) = 0;

  // ---- the input lock ----
  virtual bool blockInput(bool block) = 0;
  // Low-level hooks for the whole desktop on the calling thread; the decider
  // must outlive them. False when a hook could not be installed.
  virtual bool installHooks(bool keyboard, bool mouse, HookDecider& decider) = 0;
  virtual void removeHooks() = 0;
  virtual bool hooksInstalled() = 0;
  // SetPriorityClass of this process: real-time while true, else normal.
  virtual void setRealtimePriority(bool realtime) = 0;

  // ---- hot keys, owned by the user-interface thread ----
  // fired(id) runs on that thread when the message pump meets WM_HOTKEY.
  virtual void setHotKeyListener(std::function<void(int id)> fired) = 0;
  virtual bool registerHotKey(int id, uint32_t modifiers, uint32_t virtualKey) = 0;
  virtual void unregisterHotKey(int id) = 0;

  // ---- cursors ----
  // LoadCursorW(null, id) of a system cursor resource id (IDC_ARROW ...).
  virtual uint64_t systemCursor(int resourceId) = 0;
  // GetCursor of the thread that owns the window under the mouse (attached to
  // its input for the call); 0 when there is none.
  virtual uint64_t cursorUnderMouse() = 0;
};

// The build's input: user32 on Windows; elsewhere one whose available() is false.
Input& systemInput();

}  // namespace maqo::platform
