// Small actions the control builtins share: moving the pointer onto a
// control, the arrow-key nudge that makes a control send its change
// notifications, and the half-width mapper of the desktop.
#pragma once
#include <optional>
#include <utility>

#include "automation/controls/control_context.h"
#include "automation/controls/item_names.h"

namespace maqo::automation::controls {

namespace keys {
inline constexpr int kEnter = 13, kSpace = 32, kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kControl = 17,
                     kNumpadAdd = 0x6B;
}

HalfWidthMapper HalfWidthOf(ControlContext& c);

// Puts the pointer at a screen point (nothing where there is no input).
void MovePointer(ControlContext& c, int x, int y);

// Focuses the control (unless back) and nudges it with two keys.
void NudgeControl(ControlContext& c, platform::WindowHandle control, int firstKey, int secondKey, bool back);

// While alive and asked to park, keeps the pointer just right of the control
// and puts it back afterwards: a list operated in the background (CLK_BACK)
// must not follow a pointer that happens to hover over it.
class ParkedPointer {
 public:
  ParkedPointer(ControlContext& c, platform::WindowHandle control, bool park);
  ~ParkedPointer();
  ParkedPointer(const ParkedPointer&) = delete;
  ParkedPointer& operator=(const ParkedPointer&) = delete;

 private:
  std::optional<std::pair<int, int>> saved_;
};

// A minimised or hidden target: the foreground window is remembered and
// brought back when the call ends, on every path.
class ForegroundKeeper {
 public:
  ForegroundKeeper(AutomationContext& a, platform::WindowHandle h);
  ~ForegroundKeeper();
  ForegroundKeeper(const ForegroundKeeper&) = delete;
  ForegroundKeeper& operator=(const ForegroundKeeper&) = delete;

 private:
  AutomationContext& a_;
  platform::WindowHandle previous_ = 0;
};

// The centre of a rectangle.
inline std::pair<int, int> CentreOf(const platform::WindowRect& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace maqo::automation::controls
