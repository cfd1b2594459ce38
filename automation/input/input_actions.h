// The shared input operations: one key action, one mouse action, coordinates
// relative to the caller's origin, the input lock, and the release of
// everything a run left pressed. KBD, BTN, SCKEY and the run end use them;
// the control and image builtins may too.
#pragma once
#include <optional>
#include <utility>

#include "automation/automation_context.h"
#include "automation/input/input_session.h"

namespace maqo::automation {

enum class KeyAction { Click = 0, Down = 1, Up = 2 };

// What an input operation works with.
struct InputContext {
  AutomationContext& automation;
  InputSession& session;
  platform::Input& input() { return session.input(); }
  OriginSettings& origin() { return automation.memory().origin; }
};

// The origin window of the caller's slot when direct mode is on and the
// window exists; 0 otherwise.
platform::WindowHandle DirectWindow(InputContext& c);

// One key action. direct: posted to window as WM_KEYDOWN/WM_KEYUP, with
// Shift, Ctrl and Alt kept as state; else SendInput, with the script's own
// hot keys on that key suspended around a press.
void SendKeyAction(InputContext& c, int code, KeyAction action, platform::WindowHandle window, bool direct);

// One mouse action (a MOUSEEVENTF_* flag; notches for the wheel). direct: x
// and y are client coordinates of window; the messages go to the child
// control under that point, with the point in the child's own coordinates.
void SendMouseAction(InputContext& c, uint32_t eventFlag, int x, int y, platform::WindowHandle window, bool direct,
                     int notches);

// (x, y) plus the caller's origin; the origin is recomputed from its window
// when that exists and is not minimised.
std::pair<int, int> ToScreen(InputContext& c, int x, int y);

// Where direct mode sends a click on (x, y) of window: the last child (in
// enumeration order) whose rectangle holds the point, and the point in that
// child's client coordinates; the window itself and the point unchanged when
// no child holds it.
std::pair<platform::WindowHandle, std::pair<int, int>> DirectClickTarget(AutomationContext& c,
                                                                         platform::WindowHandle window, int x, int y);

// The input lock of the session's lock kind (BlockInput or the hooks), and its undoing.
void LockInput(InputContext& c);
void UnlockInput(InputContext& c);

// Run end: every held key and button is released (at its direct-mode window
// when it has one), the input lock is undone, the hot keys are unregistered.
void ReleaseHeldInput(InputContext& c);

}  // namespace maqo::automation
