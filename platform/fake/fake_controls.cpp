#include "platform/fake/fake_controls.h"

#include <algorithm>
#include <stdexcept>

#include "platform/text_codec.h"

namespace maqo::platform {

namespace {

std::string hex(uint64_t v) { return FakeControls::logHandle(v); }

class FakeRemoteBuffer final : public RemoteBuffer {
 public:
  explicit FakeRemoteBuffer(int& open) : open_(open) { ++open_; }
  ~FakeRemoteBuffer() override { --open_; }

 private:
  int& open_;
};

template <typename T>
T at(const std::vector<T>& v, int i, T fallback = T{}) {
  return i >= 0 && static_cast<size_t>(i) < v.size() ? v[static_cast<size_t>(i)] : fallback;
}

}  // namespace

FakeControl& FakeControls::add(FakeControl control) {
  const WindowHandle h = control.facts.handle;
  if (control.selected.size() < control.items.size()) control.selected.resize(control.items.size());
  if (control.rowStates.size() < control.rows.size()) control.rowStates.resize(control.rows.size());
  order_.push_back(h);
  return controls_[h] = std::move(control);
}

FakeControl* FakeControls::find(WindowHandle h) {
  auto it = controls_.find(h);
  return it == controls_.end() ? nullptr : &it->second;
}

FakeControl& FakeControls::control(WindowHandle h) {
  if (FakeControl* c = find(h)) return *c;
  throw std::out_of_range("no such fake control");
}

uint64_t FakeControls::addNode(WindowHandle tree, uint64_t parent, std::u16string text) {
  FakeControl& c = control(tree);
  const uint64_t item = nextNode_++;
  c.nodes[item] = FakeTreeNode{std::move(text), parent, {}, 0, false};
  if (parent == 0)
    c.roots.push_back(item);
  else
    c.nodes[parent].children.push_back(item);
  return item;
}

std::vector<ChildFacts> FakeControls::children(WindowHandle parent) {
  std::vector<ChildFacts> out;
  // Descendants: a control whose parent chain reaches the window.
  for (WindowHandle h : order_) {
    for (WindowHandle p = controls_[h].facts.parent; p != 0;) {
      if (p == parent) {
        out.push_back(controls_[h].facts);
        break;
      }
      FakeControl* up = find(p);
      p = up ? up->facts.parent : 0;
    }
  }
  return out;
}

std::optional<ChildFacts> FakeControls::facts(WindowHandle h) {
  if (FakeControl* c = find(h)) return c->facts;
  return std::nullopt;
}

int32_t FakeControls::controlId(WindowHandle h) { return find(h) ? find(h)->id : 0; }

void FakeControls::postClick(WindowHandle control, ClickButton button, bool doubleClick, int x, int y) {
  record(std::string(doubleClick ? "dblclick " : "click ") + hex(control) + (button == ClickButton::Left ? " L " : " R ") +
         std::to_string(x) + "," + std::to_string(y));
  FakeControl* c = find(control);
  if (c && button == ClickButton::Left && c->facts.enabled) {
    if (button_styles::IsThreeState(c->facts.style)) c->check = (c->check + 1) % 3;
    if (button_styles::IsCheckBox(c->facts.style)) c->check = c->check ? 0 : 1;
  }
}

void FakeControls::focus(WindowHandle control) {
  focusedIn = control;
  record("focus " + hex(control));
}

void FakeControls::keyNudge(WindowHandle control, WindowHandle, int firstKey, int secondKey) {
  record("nudge " + hex(control) + " " + std::to_string(firstKey) + " " + std::to_string(secondKey));
}

void FakeControls::pressKey(WindowHandle control, int virtualKey) {
  record("key " + hex(control) + " " + std::to_string(virtualKey));
}

int FakeControls::buttonCheck(WindowHandle button) { return find(button) ? find(button)->check : 0; }

int FakeControls::listCount(WindowHandle list, bool) { return find(list) ? static_cast<int>(find(list)->items.size()) : -1; }

std::u16string FakeControls::listText(WindowHandle list, bool, int index) {
  return find(list) ? at(find(list)->items, index) : u"";
}

int FakeControls::listCurrent(WindowHandle list, bool) { return find(list) ? find(list)->current : -1; }

void FakeControls::setListCurrent(WindowHandle list, bool, int index) {
  record("cursel " + hex(list) + " " + std::to_string(index));
  if (FakeControl* c = find(list)) c->current = index;
}

bool FakeControls::listSelected(WindowHandle list, int index) { return find(list) && at(find(list)->selected, index); }

void FakeControls::setListSelected(WindowHandle list, int index, bool selected) {
  record("setsel " + hex(list) + " " + std::to_string(index) + (selected ? " on" : " off"));
  FakeControl* c = find(list);
  if (!c) return;
  if (index < 0)
    std::fill(c->selected.begin(), c->selected.end(), selected);
  else if (static_cast<size_t>(index) < c->selected.size())
    c->selected[static_cast<size_t>(index)] = selected;
}

void FakeControls::showDropDown(WindowHandle combo, bool show) { record("dropdown " + hex(combo) + (show ? " 1" : " 0")); }

std::u16string FakeControls::windowText(WindowHandle h, size_t maxChars) {
  FakeControl* c = find(h);
  if (!c) return u"";
  const std::u16string& t = c->text.empty() ? c->facts.title : c->text;
  return t.substr(0, maxChars);
}

bool FakeControls::setWindowText(WindowHandle h, const std::u16string& text) {
  record("settext " + hex(h) + " " + utf16ToUtf8(text));
  if (FakeControl* c = find(h)) c->text = text;
  return find(h) != nullptr;
}

void FakeControls::postChar(WindowHandle h, char16_t ch) {
  record("char " + hex(h) + " " + std::to_string(static_cast<int>(ch)));
  if (FakeControl* c = find(h)) c->text.push_back(ch);
}

void FakeControls::postSetModified(WindowHandle h) { record("modified " + hex(h)); }

bool FakeControls::setClipboardText(const std::u16string& text) {
  clipboard = text;
  return true;
}

std::unique_ptr<RemoteBuffer> FakeControls::openRemoteBuffer(WindowHandle) {
  if (!remoteAllowed) return nullptr;
  ++buffersOpened;
  return std::make_unique<FakeRemoteBuffer>(buffersOpen);
}

int FakeControls::tabCount(WindowHandle tab) { return find(tab) ? static_cast<int>(find(tab)->items.size()) : 0; }

std::u16string FakeControls::tabText(RemoteBuffer&, WindowHandle tab, int index) {
  return find(tab) ? at(find(tab)->items, index) : u"";
}

int FakeControls::tabCurrent(WindowHandle tab) { return find(tab) ? find(tab)->current : -1; }

void FakeControls::selectTab(RemoteBuffer&, WindowHandle tab, int index) {
  record("tab " + hex(tab) + " " + std::to_string(index));
  if (FakeControl* c = find(tab)) c->current = index;
}

uint64_t FakeControls::treeItem(WindowHandle tree, TreeRelation relation, uint64_t from) {
  FakeControl* c = find(tree);
  if (!c) return 0;
  auto node = c->nodes.find(from);
  switch (relation) {
    case TreeRelation::Root: return c->roots.empty() ? 0 : c->roots.front();
    case TreeRelation::Caret: return c->caret;
    case TreeRelation::Child:
      return node == c->nodes.end() || node->second.children.empty() ? 0 : node->second.children.front();
    case TreeRelation::Parent: return node == c->nodes.end() ? 0 : node->second.parent;
    case TreeRelation::Next: {
      if (node == c->nodes.end()) return 0;
      const std::vector<uint64_t>& siblings =
          node->second.parent == 0 ? c->roots : c->nodes[node->second.parent].children;
      auto it = std::find(siblings.begin(), siblings.end(), from);
      return it == siblings.end() || it + 1 == siblings.end() ? 0 : *(it + 1);
    }
  }
  return 0;
}

TreeItemFacts FakeControls::treeItemFacts(RemoteBuffer&, WindowHandle tree, uint64_t item) {
  FakeControl* c = find(tree);
  if (!c || !c->nodes.count(item)) return {};
  const FakeTreeNode& n = c->nodes[item];
  return {n.text, n.state, !n.children.empty()};
}

void FakeControls::treeSelect(WindowHandle tree, uint64_t item) {
  record("treeselect " + hex(tree) + " " + hex(item));
  if (FakeControl* c = find(tree)) c->caret = item;
}

bool FakeControls::treeExpanded(WindowHandle tree, uint64_t item) {
  FakeControl* c = find(tree);
  return c && c->nodes.count(item) && c->nodes[item].expanded;
}

std::optional<WindowRect> FakeControls::treeItemRect(RemoteBuffer&, WindowHandle tree, uint64_t item) {
  FakeControl* c = find(tree);
  if (!c || !c->nodes.count(item)) return std::nullopt;
  record("treevisible " + hex(tree) + " " + hex(item));
  const int row = static_cast<int>(std::distance(c->nodes.begin(), c->nodes.find(item)));
  return WindowRect{0, row * 16, 100, row * 16 + 16};
}

int FakeControls::listViewCount(WindowHandle view) { return find(view) ? static_cast<int>(find(view)->rows.size()) : 0; }
int FakeControls::listViewColumns(WindowHandle view) {
  return find(view) ? static_cast<int>(find(view)->headers.size()) : 0;
}

std::u16string FakeControls::listViewColumnText(RemoteBuffer&, WindowHandle view, int column) {
  return find(view) ? at(find(view)->headers, column) : u"";
}

std::u16string FakeControls::listViewText(RemoteBuffer&, WindowHandle view, int row, int column) {
  FakeControl* c = find(view);
  if (!c || row < 0 || static_cast<size_t>(row) >= c->rows.size()) return u"";
  return at(c->rows[static_cast<size_t>(row)], column);
}

uint32_t FakeControls::listViewState(WindowHandle view, int row, uint32_t mask) {
  FakeControl* c = find(view);
  return c ? at(c->rowStates, row) & mask : 0;
}

void FakeControls::setListViewState(RemoteBuffer&, WindowHandle view, int row, uint32_t state, uint32_t mask) {
  record("lvstate " + hex(view) + " " + std::to_string(row) + " " + std::to_string(state) + " " + std::to_string(mask));
  FakeControl* c = find(view);
  if (!c) return;
  for (size_t r = 0; r < c->rowStates.size(); ++r)
    if (row < 0 || static_cast<size_t>(row) == r) c->rowStates[r] = (c->rowStates[r] & ~mask) | (state & mask);
}

std::optional<std::pair<int, int>> FakeControls::listViewItemPosition(RemoteBuffer&, WindowHandle view, int row) {
  if (!find(view)) return std::nullopt;
  return std::pair<int, int>{2, 20 + 16 * row};
}

int FakeControls::statusParts(WindowHandle bar) { return find(bar) ? static_cast<int>(find(bar)->items.size()) : 0; }

std::optional<WindowRect> FakeControls::statusPartRect(RemoteBuffer&, WindowHandle bar, int part) {
  if (!find(bar) || part < 0 || part >= statusParts(bar)) return std::nullopt;
  return WindowRect{part * 100, 0, part * 100 + 100, 20};
}

std::u16string FakeControls::statusText(RemoteBuffer&, WindowHandle bar, int part) {
  return find(bar) ? at(find(bar)->items, part) : u"";
}

int FakeControls::toolButtonCount(WindowHandle bar) {
  return find(bar) ? static_cast<int>(find(bar)->toolButtons.size()) : 0;
}

std::optional<ToolButtonFacts> FakeControls::toolButton(RemoteBuffer&, WindowHandle bar, int index) {
  FakeControl* c = find(bar);
  if (!c || index < 0 || static_cast<size_t>(index) >= c->toolButtons.size()) return std::nullopt;
  return c->toolButtons[static_cast<size_t>(index)].facts;
}

std::u16string FakeControls::toolButtonText(RemoteBuffer&, WindowHandle bar, int command) {
  if (FakeControl* c = find(bar))
    for (const FakeToolButton& b : c->toolButtons)
      if (b.facts.command == command) return b.text;
  return u"";
}

std::optional<WindowRect> FakeControls::toolButtonRect(RemoteBuffer&, WindowHandle bar, int index) {
  if (!find(bar)) return std::nullopt;
  return WindowRect{index * 40, 0, index * 40 + 40, 20};
}

namespace {

FakeToolButton* toolButtonOf(FakeControl* c, int command) {
  if (c)
    for (FakeToolButton& b : c->toolButtons)
      if (b.facts.command == command) return &b;
  return nullptr;
}

}  // namespace

void FakeControls::showToolButton(WindowHandle bar, int command) {
  record("toolshow " + hex(bar) + " " + std::to_string(command));
  if (FakeToolButton* b = toolButtonOf(find(bar), command)) b->facts.state &= ~ToolButtonFacts::kHidden;
}

void FakeControls::setHotToolButton(WindowHandle bar, int index) {
  record("toolhot " + hex(bar) + " " + std::to_string(index));
}

void FakeControls::pressToolButton(WindowHandle bar, int command, bool pressed) {
  record("toolpress " + hex(bar) + " " + std::to_string(command) + (pressed ? " 1" : " 0"));
}

void FakeControls::checkToolButton(WindowHandle bar, int command, bool checked) {
  record("toolcheck " + hex(bar) + " " + std::to_string(command) + (checked ? " 1" : " 0"));
}

std::optional<SliderState> FakeControls::sliderState(WindowHandle h, SliderKind kind) {
  if (kind == SliderKind::WindowHorizontal || kind == SliderKind::WindowVertical) {
    auto it = windowScrolls.find({h, kind == SliderKind::WindowVertical});
    if (it == windowScrolls.end()) return std::nullopt;
    return it->second;
  }
  FakeControl* c = find(h);
  return c ? c->slider : std::nullopt;
}

void FakeControls::setSliderPosition(WindowHandle h, SliderKind, int32_t position) {
  record("sliderpos " + hex(h) + " " + std::to_string(position));
  if (FakeControl* c = find(h); c && c->slider)
    c->slider->position = std::clamp(position, c->slider->minimum, c->slider->maximum);
}

void FakeControls::scrollWindowLine(WindowHandle h, bool vertical, bool down) {
  record("scroll " + hex(h) + (vertical ? " v" : " h") + (down ? " down" : " up"));
  auto it = windowScrolls.find({h, vertical});
  if (it == windowScrolls.end()) return;
  SliderState& s = it->second;
  s.position = std::clamp(s.position + (down ? 1 : -1), s.minimum, s.maximum);
}

uint64_t FakeControls::windowMenu(WindowHandle window) {
  auto it = windowMenus.find(window);
  return it == windowMenus.end() ? 0 : it->second;
}

int FakeControls::menuItemCount(uint64_t menu) {
  auto it = menus.find(menu);
  return it == menus.end() ? -1 : static_cast<int>(it->second.items.size());
}

MenuItemFacts FakeControls::menuItem(uint64_t menu, int position) {
  auto it = menus.find(menu);
  return it == menus.end() ? MenuItemFacts{} : at(it->second.items, position);
}

void FakeControls::initMenu(WindowHandle window, uint64_t menu) { record("initmenu " + hex(window) + " " + hex(menu)); }

void FakeControls::initMenuPopup(WindowHandle window, uint64_t submenu, int position) {
  record("initpopup " + hex(window) + " " + hex(submenu) + " " + std::to_string(position));
}

std::optional<WindowRect> FakeControls::menuItemRect(WindowHandle window, uint64_t menu, int position) {
  if (windowMenu(window) != menu || position < 0 || position >= menuItemCount(menu)) return std::nullopt;
  const WindowRect frame = frames && frames->windowRect(window) ? *frames->windowRect(window)
                           : find(window)                      ? find(window)->facts.rect
                                                               : WindowRect{};
  return WindowRect{frame.left + 60 * position, frame.top + 20, frame.left + 60 * position + 50, frame.top + 38};
}

void FakeControls::postCommand(WindowHandle window, uint32_t id) {
  record("command " + hex(window) + " " + std::to_string(id));
}

std::string FakeControls::logHandle(uint64_t handle) {
  char b[32];
  std::snprintf(b, sizeof b, "%llx", static_cast<unsigned long long>(handle));
  return b;
}

}  // namespace maqo::platform
