#include "automation/controls/click_item.h"

#include <algorithm>

#include "automation/controls/control_actions.h"
#include "automation/controls/control_enumeration.h"
#include "automation/controls/control_kinds.h"
#include "automation/controls/item_names.h"
#include "automation/controls/menu_walk.h"
#include "automation/input/input_session.h"
#include "automation/windows/window_activation.h"
#include "automation/windows/window_finder.h"
#include "automation/windows/window_waits.h"

namespace maqo::automation::controls {

using platform::WindowHandle;
namespace kb = kind_bits;

namespace {

// One search: the request with its prepared name and the shared state.
struct Search {
  ControlContext& c;
  const ClickRequest& r;
  ItemQuery query;      // normalised
  ItemQuery rawQuery;   // list and list-view entries: not normalised
  HalfWidthMapper halfWidth;
  bool activated = false;

  bool has(uint32_t bit) const { return (r.kinds & bit) != 0; }
  bool back() const { return has(kb::kBack); }
  bool queryForm() const { return has(kb::kQuery); }
  bool clickOption() const { return has(kb::kLeftClick | kb::kRightClick | kb::kDoubleClick); }
  platform::ClickButton clickButton() const {
    return has(kb::kRightClick) ? platform::ClickButton::Right : platform::ClickButton::Left;
  }
  // Activates the window before the first item is operated.
  void activate() {
    if (activated || back() || queryForm()) return;
    activated = true;
    activateWindow(c.automation, c.window, false);
  }
  std::vector<ControlEntry> controlsOf(uint32_t kind) {
    return EnumerateControls(c, c.window, kind | (r.kinds & (kb::kQuery | kb::kAccessibility)), false);
  }
};

bool isCheckItem(const ControlEntry& e) {
  if (IsCheckItemClass(e.upperClass)) return true;
  namespace bs = platform::button_styles;
  return e.upperClass == u"BUTTON" && (bs::IsCheckBox(e.style) || bs::IsThreeState(e.style));
}

bool isThreeState(const ControlEntry& e) {
  return e.upperClass.find(u"3STATE") != std::u16string::npos || platform::button_styles::IsThreeState(e.style);
}

std::optional<ClickOutcome> buttons(Search& s) {
  ControlContext& c = s.c;
  int matches = 0;
  for (const ControlEntry& e : s.controlsOf(kb::kButton)) {
    if (!ItemMatches(ReadTitle(c.automation, e.handle), s.query, s.halfWidth)) continue;
    if (s.r.number > 0 && ++matches != s.r.number) continue;
    const auto facts = c.controls.facts(e.handle);
    const bool enabled = facts && facts->enabled;
    if (s.queryForm()) return ClickOutcome{true, enabled ? c.controls.buttonCheck(e.handle) : -1};
    s.activate();
    int state = c.controls.buttonCheck(e.handle);
    if (s.has(kb::kMouseMove)) {
      auto [x, y] = CentreOf(e.rect);
      MovePointer(c, x, y);
    }
    if (s.clickOption()) {
      c.controls.postClick(e.handle, s.clickButton(), s.has(kb::kDoubleClick), 0, 0);
    } else if (state == s.r.desired) {
      if (!s.back()) c.controls.focus(e.handle);
    } else {
      c.controls.postClick(e.handle, platform::ClickButton::Left, false, 0, 0);
      if (isCheckItem(e)) {
        pauseMs(c.automation, 20);
        pauseMs(c.automation, 20);
        state = c.controls.buttonCheck(e.handle);
        const bool threeStateInvolved = isThreeState(e) || s.r.desired == 2 || state == 2;
        if (threeStateInvolved && state != s.r.desired) c.controls.postClick(e.handle, platform::ClickButton::Left, false, 0, 0);
      }
    }
    return ClickOutcome{true, -1};
  }
  return std::nullopt;
}

// A list box with LBS_MULTIPLESEL or LBS_EXTENDEDSEL.
bool multipleSelection(const ControlEntry& e) { return (e.style & (0x0008 | 0x0800)) != 0; }

bool multiSelect(Search& s, const ControlEntry& e) {
  ControlContext& c = s.c;
  std::vector<std::u16string> wanted;
  for (size_t start = 0;;) {
    const size_t tab = s.r.rawName.find(u'\t', start);
    wanted.push_back(PrepareSearchedName(s.r.rawName.substr(start, tab == std::u16string::npos ? tab : tab - start),
                                         s.has(kb::kShort)));
    if (tab == std::u16string::npos) break;
    start = tab + 1;
  }
  const size_t names = wanted.size();
  const ParkedPointer parked(c, e.handle, s.back());
  const int count = c.controls.listCount(e.handle, false);
  bool cleared = false, any = false;
  for (int i = 0; i < count && !wanted.empty(); ++i) {
    const std::u16string text = c.controls.listText(e.handle, false, i);
    for (auto it = wanted.begin(); it != wanted.end(); ++it) {
      if (!ItemMatches(text, ItemQuery{*it, s.has(kb::kShort), false}, s.halfWidth)) continue;
      s.activate();
      if (!cleared) c.controls.setListSelected(e.handle, -1, false);
      cleared = any = true;
      c.controls.setListSelected(e.handle, i, true);
      if (names == 1) c.controls.setListCurrent(e.handle, false, i);
      wanted.erase(it);
      break;
    }
  }
  return any;
}

bool selectEntry(Search& s, const ControlEntry& e, bool combo, int index) {
  ControlContext& c = s.c;
  s.activate();
  const ParkedPointer parked(c, e.handle, s.back());
  const bool dropDown = combo && (e.style & 0x3) >= 2;
  if (dropDown) c.controls.showDropDown(e.handle, true);
  bool confirmed = false;
  for (int attempt = 0; attempt < 3 && !confirmed; ++attempt) {
    if (attempt > 0) pauseMs(c.automation, combo ? 100 : 50);
    c.controls.setListCurrent(e.handle, combo, index);
    if (index == 0)
      NudgeControl(c, e.handle, keys::kDown, keys::kUp, s.back());
    else
      NudgeControl(c, e.handle, keys::kUp, keys::kDown, s.back());
    confirmed = c.controls.listCurrent(e.handle, combo) == index;
  }
  if (dropDown) c.controls.pressKey(e.handle, keys::kEnter);
  return confirmed;
}

std::optional<ClickOutcome> lists(Search& s) {
  ControlContext& c = s.c;
  const bool ofThis = s.has(kb::kOfThis);
  const std::vector<ControlEntry> all = s.controlsOf(kb::kList);
  int matches = 0, position = 0;
  for (const ControlEntry& e : all) {
    ++position;
    if (!ofThis && s.r.number > 0 && position != s.r.number) continue;
    const bool combo = IsComboClass(e.upperClass);
    if (!combo && multipleSelection(e)) {
      if (multiSelect(s, e)) return ClickOutcome{true, -1};
      continue;
    }
    const int count = c.controls.listCount(e.handle, combo);
    for (int i = 0; i < count; ++i) {
      if (!ItemMatches(c.controls.listText(e.handle, combo, i), s.rawQuery, s.halfWidth)) continue;
      if (ofThis && s.r.number > 0 && ++matches != s.r.number) continue;
      if (s.queryForm()) return std::nullopt;
      return ClickOutcome{selectEntry(s, e, combo, i), -1};
    }
  }
  return std::nullopt;
}

std::optional<ClickOutcome> tabs(Search& s) {
  ControlContext& c = s.c;
  int matches = 0;
  for (const ControlEntry& e : s.controlsOf(kb::kTab)) {
    platform::RemoteBuffer* buffer = c.remote(e.handle);
    if (!buffer) return std::nullopt;
    const int count = c.controls.tabCount(e.handle);
    for (int i = 0; i < count; ++i) {
      if (!ItemMatches(c.controls.tabText(*buffer, e.handle, i), s.query, s.halfWidth)) continue;
      if (s.r.number > 0 && ++matches != s.r.number) continue;
      if (s.queryForm()) return std::nullopt;
      s.activate();
      c.controls.selectTab(*buffer, e.handle, i);
      messagePause(c.automation, 20);
      return ClickOutcome{c.controls.tabCurrent(e.handle) == i, -1};
    }
  }
  return std::nullopt;
}

// Depth-first over the tree from item (and its following siblings); the
// first item whose trimmed upper-cased text matches.
uint64_t findTreeItem(Search& s, platform::RemoteBuffer& buffer, WindowHandle tree, uint64_t first,
                      const ItemQuery& part, bool descend) {
  ControlContext& c = s.c;
  for (uint64_t item = first; item != 0 && !c.automation.stopRequested();
       item = c.controls.treeItem(tree, platform::TreeRelation::Next, item)) {
    const platform::TreeItemFacts f = c.controls.treeItemFacts(buffer, tree, item);
    if (ItemMatches(f.text, part, s.halfWidth)) return item;
    if (descend)
      if (uint64_t child = c.controls.treeItem(tree, platform::TreeRelation::Child, item))
        if (uint64_t hit = findTreeItem(s, buffer, tree, child, part, true)) return hit;
  }
  return 0;
}

std::optional<ClickOutcome> trees(Search& s) {
  ControlContext& c = s.c;
  const ItemPath path = SplitItemPath(s.r.rawName);
  for (const ControlEntry& e : s.controlsOf(kb::kTreeView)) {
    platform::RemoteBuffer* buffer = c.remote(e.handle);
    if (!buffer) return std::nullopt;
    uint64_t item = 0;
    for (size_t k = 0; k < path.parts.size(); ++k) {
      const ItemQuery part{ItemUpper(path.parts[k]), s.has(kb::kShort), false};
      const uint64_t first = k == 0 ? c.controls.treeItem(e.handle, platform::TreeRelation::Root, 0)
                                    : c.controls.treeItem(e.handle, platform::TreeRelation::Child, item);
      item = findTreeItem(s, *buffer, e.handle, first, part, k == 0 && !path.anchored);
      if (item == 0) break;
    }
    if (item == 0) continue;
    const platform::TreeItemFacts f = c.controls.treeItemFacts(*buffer, e.handle, item);
    const int check = static_cast<int>((f.state >> 12) & 3) - 1;
    if (s.queryForm()) return ClickOutcome{true, check < 0 ? 0 : check};
    s.activate();
    c.controls.treeSelect(e.handle, item);
    if (!c.controls.treeExpanded(e.handle, item)) {
      c.controls.pressKey(e.handle, keys::kNumpadAdd);
      c.controls.treeSelect(e.handle, item);
    }
    if (s.has(kb::kMouseMove) || s.clickOption())
      if (const auto rect = c.controls.treeItemRect(*buffer, e.handle, item)) {
        const auto [x, y] = CentreOf(*rect);
        if (s.has(kb::kMouseMove))
          if (auto origin = c.automation.desktop.clientOrigin(e.handle)) MovePointer(c, origin->first + x, origin->second + y);
        if (s.clickOption()) c.controls.postClick(e.handle, s.clickButton(), s.has(kb::kDoubleClick), x, y);
      }
    return ClickOutcome{true, -1};
  }
  return std::nullopt;
}

std::optional<ClickOutcome> listViews(Search& s) {
  ControlContext& c = s.c;
  const uint32_t selectedFocused = platform::ListViewState::kSelected | platform::ListViewState::kFocused;
  for (const ControlEntry& e : s.controlsOf(kb::kListView)) {
    platform::RemoteBuffer* buffer = c.remote(e.handle);
    if (!buffer) return std::nullopt;
    const int rows = c.controls.listViewCount(e.handle);
    std::vector<std::u16string> texts(static_cast<size_t>(std::max(rows, 0)));
    for (int column = 0; column < 8; ++column) {
      bool anyText = false;
      for (int row = 0; row < rows; ++row) {
        texts[static_cast<size_t>(row)] = c.controls.listViewText(*buffer, e.handle, row, column);
        anyText = anyText || !texts[static_cast<size_t>(row)].empty();
      }
      if (anyText) break;
    }
    int first = -1;
    std::vector<bool> matching(texts.size());
    for (size_t row = 0; row < texts.size(); ++row)
      if (ItemMatches(texts[row], s.rawQuery, s.halfWidth)) {
        matching[row] = true;
        if (first < 0) first = static_cast<int>(row);
      }
    if (first < 0) continue;
    const int check = static_cast<int>(c.controls.listViewState(e.handle, first, platform::ListViewState::kStateImage) >> 12) - 1;
    if (s.queryForm()) return ClickOutcome{true, check < 0 ? 0 : check};
    s.activate();
    platform::Input& input = currentInputSession().input();
    const bool extend = input.available() && (input.asyncKeyState(keys::kControl) & 0x8000) != 0;
    for (size_t row = 0; row < matching.size(); ++row) {
      if (matching[row])
        c.controls.setListViewState(*buffer, e.handle, static_cast<int>(row), selectedFocused, selectedFocused);
      else if (!extend)
        c.controls.setListViewState(*buffer, e.handle, static_cast<int>(row), 0, selectedFocused);
    }
    if (first == 0)
      NudgeControl(c, e.handle, keys::kDown, keys::kUp, s.back());
    else
      NudgeControl(c, e.handle, keys::kUp, keys::kDown, s.back());
    const auto position = c.controls.listViewItemPosition(*buffer, e.handle, first);
    if (s.has(kb::kMouseMove) && position)
      if (auto origin = c.automation.desktop.clientOrigin(e.handle))
        MovePointer(c, origin->first + position->first + 5, origin->second + position->second + 5);
    if (s.clickOption()) {
      if (position)
        c.controls.postClick(e.handle, s.clickButton(), s.has(kb::kDoubleClick), position->first + 4,
                             position->second + 4);
    } else if (check >= 0 && check != s.r.desired) {
      c.controls.pressKey(e.handle, keys::kSpace);
    } else if (check < 0 && s.r.desired > 0) {
      c.controls.pressKey(e.handle, keys::kEnter);
    }
    return ClickOutcome{true, -1};
  }
  return std::nullopt;
}

std::optional<ClickOutcome> toolBars(Search& s) {
  if (s.queryForm()) return std::nullopt;
  ControlContext& c = s.c;
  using platform::ToolButtonFacts;
  const bool taskBar = AsciiUpper(c.automation.desktop.className(c.window)) == u"SHELL_TRAYWND";
  int matches = 0;
  for (const ControlEntry& e : s.controlsOf(kb::kToolBar)) {
    platform::RemoteBuffer* buffer = c.remote(e.handle);
    if (!buffer) return std::nullopt;
    for (int i = 0, n = c.controls.toolButtonCount(e.handle); i < n; ++i) {
      const std::optional<ToolButtonFacts> button = c.controls.toolButton(*buffer, e.handle, i);
      if (!button || !(button->state & ToolButtonFacts::kEnabled)) continue;
      if (taskBar && (button->state & ToolButtonFacts::kHidden)) continue;
      if (!ItemMatches(c.controls.toolButtonText(*buffer, e.handle, button->command), s.query, s.halfWidth)) continue;
      if (s.r.number > 0 && ++matches != s.r.number) continue;
      if (!taskBar) c.controls.showToolButton(e.handle, button->command);
      const auto rect = c.controls.toolButtonRect(*buffer, e.handle, i);
      if (!rect) return ClickOutcome{};
      s.activate();
      if (!s.back()) c.controls.focus(e.handle);
      c.controls.setHotToolButton(e.handle, i);
      const auto [x, y] = CentreOf(*rect);
      if (s.has(kb::kMouseMove))
        if (auto origin = c.automation.desktop.clientOrigin(e.handle)) MovePointer(c, origin->first + x, origin->second + y);
      if (s.clickOption()) {
        c.controls.postClick(e.handle, s.clickButton(), s.has(kb::kDoubleClick), x, y);
        return ClickOutcome{true, -1};
      }
      const int state = (button->state & (ToolButtonFacts::kChecked | ToolButtonFacts::kPressed)) ? 1 : 0;
      if (state != s.r.desired) {
        c.controls.postClick(e.handle, platform::ClickButton::Left, false, x, y);
        if (s.r.desired == 0) {
          c.controls.pressToolButton(e.handle, button->command, false);
          c.controls.checkToolButton(e.handle, button->command, false);
        }
      }
      return ClickOutcome{true, -1};
    }
  }
  return std::nullopt;
}

std::optional<ClickOutcome> menu(Search& s) {
  if (s.queryForm()) return std::nullopt;
  ControlContext& c = s.c;
  const uint64_t bar = c.controls.windowMenu(c.window);
  if (bar == 0) return std::nullopt;
  c.controls.initMenu(c.window, bar);
  MenuWalk walk{c, s.halfWidth, s.has(kb::kShort)};
  const std::optional<platform::MenuItemFacts> item = walk.find(bar, s.r.rawName, s.r.number);
  if (!item) return std::nullopt;
  const bool checked = (item->state & platform::MenuItemFacts::kChecked) != 0;
  s.activate();
  if ((!checked && s.r.desired == 1) || (checked && s.r.desired == 0)) {
    messagePause(c.automation, 10);
    c.controls.postCommand(c.window, item->id);
  }
  return ClickOutcome{true, -1};
}

// The last resort for the menu: a menu-bar item clicked with the real mouse
// (opening its menu), the window first moved so the item lies at least 8
// pixels inside the desktop.
std::optional<ClickOutcome> menuBarByMouse(Search& s) {
  if (s.queryForm()) return std::nullopt;
  ControlContext& c = s.c;
  platform::Desktop& d = c.automation.desktop;
  platform::Input& input = currentInputSession().input();
  if (!input.available() || !d.isVisible(c.window) || d.isIconic(c.window)) return std::nullopt;
  const uint64_t bar = c.controls.windowMenu(c.window);
  if (bar == 0) return std::nullopt;
  int matches = 0;
  for (int i = 0, n = c.controls.menuItemCount(bar); i < n; ++i) {
    const platform::MenuItemFacts item = c.controls.menuItem(bar, i);
    if ((item.state & platform::MenuItemFacts::kGrayed) || !ItemMatches(item.text, s.query, s.halfWidth)) continue;
    if (s.r.number > 0 && ++matches != s.r.number) continue;
    const int checked = (item.state & platform::MenuItemFacts::kChecked) ? 1 : 0;
    if (checked == s.r.desired) return ClickOutcome{true, -1};
    auto rect = c.controls.menuItemRect(c.window, bar, i);
    if (!rect) return std::nullopt;
    const platform::WindowRect desk = input.virtualDesktop();
    const int dx = std::max(0, desk.left + 8 - rect->left) - std::max(0, rect->right - (desk.right - 8));
    const int dy = std::max(0, desk.top + 8 - rect->top) - std::max(0, rect->bottom - (desk.bottom - 8));
    if (dx != 0 || dy != 0) {
      if (auto frame = d.windowRect(c.window))
        d.setPosition(c.window, platform::ZPlacement::Unchanged, frame->left + dx, frame->top + dy, 0, 0,
                      {false, true, false});
      rect = c.controls.menuItemRect(c.window, bar, i);
      if (!rect) return std::nullopt;
    }
    s.activate();
    input.setCursorPos(rect->left + 5, rect->top + 5);
    const bool swapped = input.buttonsSwapped();
    namespace mf = platform::mouse_flags;
    input.sendMouse({0, 0, 0, swapped ? mf::kRightDown : mf::kLeftDown});
    c.automation.platform.clock.sleepMs(20);
    input.sendMouse({0, 0, 0, swapped ? mf::kRightUp : mf::kLeftUp});
    return ClickOutcome{true, -1};
  }
  return std::nullopt;
}

}  // namespace

ClickOutcome ClickItem(ControlContext& c, const ClickRequest& r) {
  Search s{c, r, {}, {}, HalfWidthOf(c)};
  const bool partial = (r.kinds & kb::kShort) != 0;
  s.query = ItemQuery{PrepareSearchedName(r.rawName, partial), partial, true};
  s.rawQuery = ItemQuery{s.query.name, partial, false};
  using Step = std::optional<ClickOutcome> (*)(Search&);
  const std::pair<uint32_t, Step> steps[] = {{kb::kButton, &buttons}, {kb::kList, &lists},
                                             {kb::kTab, &tabs},       {kb::kMenu, &menu},
                                             {kb::kTreeView, &trees}, {kb::kListView, &listViews},
                                             {kb::kToolBar, &toolBars}, {kb::kMenu, &menuBarByMouse}};
  for (const auto& [kind, step] : steps) {
    if (!(r.kinds & kind) || c.automation.stopRequested()) continue;
    if (std::optional<ClickOutcome> outcome = step(s)) return *outcome;
  }
  return {};
}

}  // namespace maqo::automation::controls
