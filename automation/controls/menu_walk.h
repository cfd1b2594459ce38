// Walking a menu tree by item texts: a single name is searched depth-first
// among the items without a submenu, a path "File\Exit" descends through the
// matching submenus. Greyed or disabled items never match. Each submenu gets
// WM_INITMENUPOPUP before it is read, so its owner can fill it.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "automation/controls/control_context.h"
#include "automation/controls/item_names.h"

namespace maqo::automation::controls {

struct MenuWalk {
  ControlContext& c;
  HalfWidthMapper halfWidth;
  bool partial = false;

  // The number-th (below 1: the first) item the name or path finds.
  std::optional<platform::MenuItemFacts> find(uint64_t menu, const std::u16string& rawName, int number);
  // Every item text of the tree, depth-first, normalised.
  void collectTexts(uint64_t menu, std::vector<std::u16string>& out, int depth = 0);

 private:
  std::optional<platform::MenuItemFacts> searchLeaves(uint64_t menu, const ItemQuery& query, int& remaining, int depth);
  void openSubmenu(uint64_t submenu, int position);
};

}  // namespace maqo::automation::controls
