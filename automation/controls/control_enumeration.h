// The controls of a window that belong to the requested kinds, in reading
// order, and the number-th of them.
#pragma once
#include <vector>

#include "automation/controls/control_context.h"
#include "automation/controls/control_order.h"

namespace maqo::automation::controls {

// The window's descendant controls of the kinds: visible ones (or, in a
// hidden window, those with the visible style), enabled ones unless
// admitDisabled or the kinds admit disabled controls themselves. With the
// slider kind, windows' own scroll bars come last as pseudo-controls.
std::vector<ControlEntry> EnumerateControls(ControlContext& c, platform::WindowHandle parent, uint32_t kinds,
                                            bool admitDisabled);

// The number-th (1-based) entry, or nullptr.
const ControlEntry* NthControl(const std::vector<ControlEntry>& list, int number);

// A builtin's control number: negative means its absolute value with
// disabled controls admitted.
struct ControlNumber {
  int number = 0;
  bool admitDisabled = false;
};
ControlNumber ReadControlNumber(int64_t given);

}  // namespace maqo::automation::controls
