// Reading order of a window's controls: top to bottom, then left to right,
// with windows' own scroll bars (pseudo-controls) after every real control.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace maqo::automation::controls {

enum class OwnScrollBar { None, Vertical, Horizontal };

struct ControlEntry {
  platform::WindowHandle handle = 0;
  std::u16string upperClass;   // "WS_HSCROLL" / "WS_VSCROLL" for a window's own scroll bar
  platform::WindowRect rect;   // screen coordinates
  uint32_t style = 0;
  OwnScrollBar scrollBar = OwnScrollBar::None;
  bool ofParent = false;       // the searched window's own scroll bar
  int listPosition = 0;        // position in the enumeration (browser controls add it)
};

// top * 10000 + left; a child's own scroll bars + 100000000 (vertical) or
// + 100000001 (horizontal), the parent's + 200000000 / + 200000001; a
// browser control ("INTERNET EXPLORER_SERVER") adds its list position.
int64_t ReadingOrderKey(const ControlEntry& entry);

// Sorts ascending by key; equal keys keep their enumeration order.
void SortReadingOrder(std::vector<ControlEntry>& entries);

}  // namespace maqo::automation::controls
