// The pop-up menu's items as a tree: a leading "{" opens a submenu under the
// previous item, each trailing "}" closes one level. Every item, parents
// included, is numbered by its place in the list, which is what the menu
// returns when the item is chosen.
#pragma once
#include <string>
#include <vector>

namespace maqo::dialogs {

inline constexpr int kMaxMenuDepth = 15;

struct PopupMenuItem {
  std::u16string caption;
  int number = 0;  // its index in the item list
  std::vector<PopupMenuItem> children;
  bool opensSubmenu() const { return !children.empty(); }
};

// Builds the tree. Braces beyond the deepest level and unmatched "}" are
// ignored; a "{" on the first item has no parent and is ignored as well.
std::vector<PopupMenuItem> BuildPopupMenu(const std::vector<std::u16string>& items);

}  // namespace maqo::dialogs
