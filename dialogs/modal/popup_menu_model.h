// The pop-up menu's items as a tree: a leading "{" opens a submenu under the
// previous item, each trailing "}" closes one level. Every item, parents
// included, is numbered by its place in the list, which is what the menu
// returns when the item is chosen.
#pragma once
#include <string>
#include <vector>

#include "platform/dialog_windows.h"

namespace maqo::dialogs {

inline constexpr int kMaxMenuDepth = 15;

// An entry's number is its index in the item list.
using PopupMenuItem = platform::PopupMenuEntry;

// Builds the tree. Braces beyond the deepest level and unmatched "}" are
// ignored; a "{" on the first item has no parent and is ignored as well.
std::vector<PopupMenuItem> BuildPopupMenu(const std::vector<std::u16string>& items);

}  // namespace maqo::dialogs
