// The per-engine state of input synthesis: the input device, the held-input
// list, the direct-mode modifier and button state, the hot-key table, the
// input lock and the two action locks. The engine keeps one; the run-end
// release empties it. Each slot's origin settings (MOUSEORG) live in the
// window session's slot memory, beside GETID's, where ACW writes too.
#pragma once
#include <array>
#include <atomic>
#include <memory>
#include <mutex>

#include "automation/automation_session.h"
#include "automation/input/held_input.h"
#include "automation/input/hotkey_table.h"
#include "automation/input/lock_filter.h"
#include "platform/input.h"

namespace maqo::automation {

// The modifiers and buttons a script holds in direct mode; they become the
// MK_* flags of posted mouse messages.
struct DirectModeState {
  int shift = 0, ctrl = 0, alt = 0;  // the key code pressed, 0 when not held
  bool left = false, right = false, middle = false;
  uint32_t mouseKeyFlags() const;
};

enum class LockKind { None = 0, Hard = 1, Hooks = 2 };

struct InputLockState {
  LockKind kind = LockKind::None;
  platform::WindowHandle protectedWindow = 0;
  int device = 0;  // 0 both, LOCK_KEYBOARD 1, LOCK_MOUSE 2
  bool active = false;
  std::unique_ptr<LockFilter> filter;
};

class InputSession {
 public:
  explicit InputSession(platform::Input& input) : input_(&input) { prepareRun(); }
  ~InputSession();

  platform::Input& input() { return *input_; }

  HeldInputList held;
  // Engine-wide, guarded by actionLock like the actions that change it.
  DirectModeState direct;
  HotKeyTable hotKeys;  // user-interface thread only
  InputLockState lock;  // user-interface thread only
  // Held around each BTN and KBD action, and around each SCKEY.
  std::recursive_timed_mutex actionLock;
  std::recursive_timed_mutex shortcutLock;
  std::atomic<bool> swapped{false};

  // The main script's pauses note every mouse button they see pressed, so
  // GETKEYSTATE reports a click that happened between two of its calls even
  // when the system's own "pressed since" bit was spent meanwhile.
  void noteMouseButtonsSeen();
  // Whether the pauses saw the button (VK 1, 2 or 4) since the last
  // question; the answer clears the mark. False for other codes.
  bool takeMouseButtonSeen(int virtualKey);

  // A run is prepared: the swapped-button setting is read, the direct-mode
  // state and the buttons the pauses saw are cleared.
  void prepareRun();

 private:
  platform::Input* input_;
  // Left, right, middle: set by the main script's pauses, read and cleared
  // by any script thread.
  std::array<std::atomic<bool>, 3> buttonSeen_{};
};

// The session the input builtins use: one for the process on the build's
// input unless a ScopedInputSession installs another (tests, hosts).
InputSession& currentInputSession();

class ScopedInputSession {
 public:
  explicit ScopedInputSession(InputSession& session);
  ~ScopedInputSession();
  ScopedInputSession(const ScopedInputSession&) = delete;
  ScopedInputSession& operator=(const ScopedInputSession&) = delete;

 private:
  InputSession* previous_;
};

}  // namespace maqo::automation
