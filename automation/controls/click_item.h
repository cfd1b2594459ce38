// CLKITEM's search: the kinds tried in order (buttons, lists, tabs, the
// menu, tree views, list views, tool bars), each finding the item by its
// text and operating it, or in the query form (CHKBTN) reporting its check
// state.
#pragma once
#include <string>

#include "automation/controls/control_context.h"

namespace maqo::automation::controls {

struct ClickRequest {
  std::u16string rawName;  // as the script gave it (paths, TAB-separated lists)
  uint32_t kinds = 0;      // already made effective
  int desired = 1;         // 0, 1 or 2
  int number = 0;
};

// done: an item was operated (or, for a query, found); state: the check
// state a query reports (-1 when not found or disabled).
struct ClickOutcome {
  bool done = false;
  int state = -1;
};

// Tries the control kinds of the request in order; the first that finds its
// item ends the search. Activates the window first unless CLK_BACK.
ClickOutcome ClickItem(ControlContext& c, const ClickRequest& request);

}  // namespace maqo::automation::controls
