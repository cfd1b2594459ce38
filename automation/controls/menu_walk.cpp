#include "automation/controls/menu_walk.h"

#include "automation/windows/window_waits.h"

namespace maqo::automation::controls {

using platform::MenuItemFacts;

namespace {

// Menus nest only so deep; a cycle (a submenu that contains its parent) ends here.
constexpr int kMaxMenuDepth = 16;

bool usable(const MenuItemFacts& item) { return (item.state & MenuItemFacts::kGrayed) == 0; }

}  // namespace

void MenuWalk::openSubmenu(uint64_t submenu, int position) {
  c.controls.initMenuPopup(c.window, submenu, position);
  messagePause(c.automation, 4);
}

std::optional<MenuItemFacts> MenuWalk::searchLeaves(uint64_t menu, const ItemQuery& query, int& remaining, int depth) {
  if (depth > kMaxMenuDepth) return std::nullopt;
  const int count = c.controls.menuItemCount(menu);
  for (int i = 0; i < count && !c.automation.stopRequested(); ++i) {
    const MenuItemFacts item = c.controls.menuItem(menu, i);
    if (item.submenu != 0) {
      openSubmenu(item.submenu, i);
      if (auto hit = searchLeaves(item.submenu, query, remaining, depth + 1)) return hit;
      continue;
    }
    if (!usable(item) || !ItemMatches(item.text, query, halfWidth)) continue;
    if (--remaining <= 0) return item;
  }
  return std::nullopt;
}

std::optional<MenuItemFacts> MenuWalk::find(uint64_t menu, const std::u16string& rawName, int number) {
  const ItemPath path = SplitItemPath(rawName);
  int remaining = number < 1 ? 1 : number;
  if (path.parts.size() == 1)
    return searchLeaves(menu, ItemQuery{PrepareSearchedName(path.parts[0], partial), partial, true}, remaining, 0);
  for (size_t k = 0; k < path.parts.size(); ++k) {
    const ItemQuery query{PrepareSearchedName(path.parts[k], partial), partial, true};
    const bool last = k + 1 == path.parts.size();
    const int count = c.controls.menuItemCount(menu);
    uint64_t next = 0;
    for (int i = 0; i < count && next == 0; ++i) {
      const MenuItemFacts item = c.controls.menuItem(menu, i);
      if (!usable(item) || !ItemMatches(item.text, query, halfWidth)) continue;
      if (last) {
        if (--remaining <= 0) return item;
        continue;
      }
      if (item.submenu == 0) continue;
      openSubmenu(item.submenu, i);
      next = item.submenu;
    }
    if (next == 0) return std::nullopt;
    menu = next;
  }
  return std::nullopt;
}

void MenuWalk::collectTexts(uint64_t menu, std::vector<std::u16string>& out, int depth) {
  if (depth > kMaxMenuDepth) return;
  const int count = c.controls.menuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const MenuItemFacts item = c.controls.menuItem(menu, i);
    if (!item.text.empty()) out.push_back(NormaliseItemName(item.text));
    if (item.submenu != 0) {
      openSubmenu(item.submenu, i);
      collectTexts(item.submenu, out, depth + 1);
    }
  }
}

}  // namespace maqo::automation::controls
