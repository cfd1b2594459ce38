// Scriptable in-memory controls for the control-item tests: each control
// holds the items of its kind (entries, tabs, tree nodes, list-view cells,
// status parts, a slider, menus) and every operation is logged in order and
// applied the way the real control would apply it.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/controls.h"

namespace maqo::platform {

struct FakeTreeNode {
  std::u16string text;
  uint64_t parent = 0;
  std::vector<uint64_t> children;
  uint32_t state = 0;
  bool expanded = false;
};

struct FakeToolButton {
  ToolButtonFacts facts;
  std::u16string text;
};

struct FakeControl {
  ChildFacts facts;
  int32_t id = 0;
  int check = 0;
  bool combo = false;
  std::vector<std::u16string> items;  // list entries, tab texts, status parts
  std::vector<bool> selected;         // multiple-selection list boxes
  int current = -1;
  std::u16string text;
  std::optional<SliderState> slider;
  SliderKind sliderKind = SliderKind::TrackBar;
  // list views: headers and rows of cells; states per row
  std::vector<std::u16string> headers;
  std::vector<std::vector<std::u16string>> rows;
  std::vector<uint32_t> rowStates;
  // tree views
  std::map<uint64_t, FakeTreeNode> nodes;
  std::vector<uint64_t> roots;
  uint64_t caret = 0;
  // tool bars
  std::vector<FakeToolButton> toolButtons;
};

struct FakeMenu {
  std::vector<MenuItemFacts> items;
};

class FakeControls final : public Controls {
 public:
  // How the log writes a handle (lower-case hex), for tests that expect lines.
  static std::string logHandle(uint64_t handle);
  // Adds a control under parent and returns it (facts.handle must be set).
  FakeControl& add(FakeControl control);
  FakeControl& control(WindowHandle h);
  // Adds a tree node under parent (0: a root) and returns its item number.
  uint64_t addNode(WindowHandle tree, uint64_t parent, std::u16string text);

  std::map<uint64_t, FakeMenu> menus;
  std::map<WindowHandle, uint64_t> windowMenus;
  uint64_t popup = 0;
  // A window's own scroll bars, by (window, vertical).
  std::map<std::pair<WindowHandle, bool>, SliderState> windowScrolls;
  std::optional<std::u16string> clipboard;
  WindowHandle focusedIn = 0;
  // Whether a remote buffer can be opened (false: the process refuses).
  bool remoteAllowed = true;
  int buffersOpen = 0;   // live remote buffers
  int buffersOpened = 0; // every one opened

  // "click <h> L 0,0", "dblclick ...", "focus <h>", "nudge <h> 40 38", "key <h> 32",
  // "cursel <h> 2", "setsel <h> 1 on", "dropdown <h> 1", "settext <h> x", "char <h> 120",
  // "modified <h>", "tab <h> 1", "treeselect <h> <item>", "lvstate <h> row state mask",
  // "toolshow <h> cmd", "toolhot <h> index", "toolpress <h> cmd 0", "toolcheck <h> cmd 0",
  // "sliderpos <h> 20", "scroll <h> v down", "initmenu", "initpopup", "command <w> <id>"
  std::vector<std::string> log;

  bool available() override { return true; }
  std::vector<ChildFacts> children(WindowHandle parent) override;
  std::optional<ChildFacts> facts(WindowHandle h) override;
  int32_t controlId(WindowHandle h) override;
  WindowHandle focusedControl(WindowHandle) override { return focusedIn; }
  void postClick(WindowHandle control, ClickButton button, bool doubleClick, int x, int y) override;
  void focus(WindowHandle control) override;
  void keyNudge(WindowHandle control, WindowHandle window, int firstKey, int secondKey) override;
  void pressKey(WindowHandle control, int virtualKey) override;
  int buttonCheck(WindowHandle button) override;
  int listCount(WindowHandle list, bool combo) override;
  std::u16string listText(WindowHandle list, bool combo, int index) override;
  int listCurrent(WindowHandle list, bool combo) override;
  void setListCurrent(WindowHandle list, bool combo, int index) override;
  bool listSelected(WindowHandle list, int index) override;
  void setListSelected(WindowHandle list, int index, bool selected) override;
  void showDropDown(WindowHandle combo, bool show) override;
  std::u16string windowText(WindowHandle h, size_t maxChars) override;
  bool setWindowText(WindowHandle h, const std::u16string& text) override;
  void postChar(WindowHandle h, char16_t ch) override;
  void postSetModified(WindowHandle h) override;
  std::optional<std::u16string> clipboardText() override { return clipboard; }
  bool setClipboardText(const std::u16string& text) override;
  std::unique_ptr<RemoteBuffer> openRemoteBuffer(WindowHandle control) override;
  int tabCount(WindowHandle tab) override;
  std::u16string tabText(RemoteBuffer& buffer, WindowHandle tab, int index) override;
  int tabCurrent(WindowHandle tab) override;
  void selectTab(RemoteBuffer& buffer, WindowHandle tab, int index) override;
  uint64_t treeItem(WindowHandle tree, TreeRelation relation, uint64_t from) override;
  TreeItemFacts treeItemFacts(RemoteBuffer& buffer, WindowHandle tree, uint64_t item) override;
  void treeSelect(WindowHandle tree, uint64_t item) override;
  bool treeExpanded(WindowHandle tree, uint64_t item) override;
  // Items stand 16 pixels apart in the order they were added, 100 wide.
  std::optional<WindowRect> treeItemRect(RemoteBuffer& buffer, WindowHandle tree, uint64_t item) override;
  int listViewCount(WindowHandle view) override;
  int listViewColumns(WindowHandle view) override;
  std::u16string listViewColumnText(RemoteBuffer& buffer, WindowHandle view, int column) override;
  std::u16string listViewText(RemoteBuffer& buffer, WindowHandle view, int row, int column) override;
  uint32_t listViewState(WindowHandle view, int row, uint32_t mask) override;
  void setListViewState(RemoteBuffer& buffer, WindowHandle view, int row, uint32_t state, uint32_t mask) override;
  std::optional<std::pair<int, int>> listViewItemPosition(RemoteBuffer& buffer, WindowHandle view, int row) override;
  int statusParts(WindowHandle bar) override;
  std::u16string statusText(RemoteBuffer& buffer, WindowHandle bar, int part) override;
  // Parts are 100 wide and 20 high, side by side.
  std::optional<WindowRect> statusPartRect(RemoteBuffer& buffer, WindowHandle bar, int part) override;
  int toolButtonCount(WindowHandle bar) override;
  std::optional<ToolButtonFacts> toolButton(RemoteBuffer& buffer, WindowHandle bar, int index) override;
  std::u16string toolButtonText(RemoteBuffer& buffer, WindowHandle bar, int command) override;
  std::optional<WindowRect> toolButtonRect(RemoteBuffer& buffer, WindowHandle bar, int index) override;
  void showToolButton(WindowHandle bar, int command) override;
  void setHotToolButton(WindowHandle bar, int index) override;
  void pressToolButton(WindowHandle bar, int command, bool pressed) override;
  void checkToolButton(WindowHandle bar, int command, bool checked) override;
  std::optional<SliderState> sliderState(WindowHandle h, SliderKind kind) override;
  void setSliderPosition(WindowHandle h, SliderKind kind, int32_t position) override;
  void scrollWindowLine(WindowHandle h, bool vertical, bool down) override;
  uint64_t windowMenu(WindowHandle window) override;
  uint64_t systemMenu(WindowHandle) override { return 0; }
  uint64_t popupMenu() override { return popup; }
  int menuItemCount(uint64_t menu) override;
  MenuItemFacts menuItem(uint64_t menu, int position) override;
  void initMenu(WindowHandle window, uint64_t menu) override;
  void initMenuPopup(WindowHandle window, uint64_t submenu, int position) override;
  // Menu-bar items sit 60 pixels apart along the window's top edge + 20; the
  // window's rectangle comes from this desktop when set (it follows moves).
  Desktop* frames = nullptr;
  std::optional<WindowRect> menuItemRect(WindowHandle window, uint64_t menu, int position) override;
  void postCommand(WindowHandle window, uint32_t id) override;

 private:
  FakeControl* find(WindowHandle h);
  void record(std::string line) { log.push_back(std::move(line)); }
  std::vector<WindowHandle> order_;
  std::map<WindowHandle, FakeControl> controls_;
  uint64_t nextNode_ = 0x100;
};

}  // namespace maqo::platform
