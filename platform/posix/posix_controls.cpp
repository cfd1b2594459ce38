// The native build has no controls to read: every question has the empty answer.
#include "platform/controls.h"

namespace maqo::platform {

namespace {

class NoControls final : public Controls {
 public:
  bool available() override { return false; }
  std::vector<ChildFacts> children(WindowHandle) override { return {}; }
  std::optional<ChildFacts> facts(WindowHandle) override { return std::nullopt; }
  int32_t controlId(WindowHandle) override { return 0; }
  WindowHandle focusedControl(WindowHandle) override { return 0; }
  void postClick(WindowHandle, ClickButton, bool, int, int) override {}
  void focus(WindowHandle) override {}
  void keyNudge(WindowHandle, WindowHandle, int, int) override {}
  void pressKey(WindowHandle, int) override {}
  int buttonCheck(WindowHandle) override { return 0; }
  int listCount(WindowHandle, bool) override { return 0; }
  std::u16string listText(WindowHandle, bool, int) override { return {}; }
  int listCurrent(WindowHandle, bool) override { return -1; }
  void setListCurrent(WindowHandle, bool, int) override {}
  bool listSelected(WindowHandle, int) override { return false; }
  void setListSelected(WindowHandle, int, bool) override {}
  void showDropDown(WindowHandle, bool) override {}
  std::u16string windowText(WindowHandle, size_t) override { return {}; }
  bool setWindowText(WindowHandle, const std::u16string&) override { return false; }
  void postChar(WindowHandle, char16_t) override {}
  void postSetModified(WindowHandle) override {}
  std::optional<std::u16string> clipboardText() override { return std::nullopt; }
  bool setClipboardText(const std::u16string&) override { return false; }
  std::unique_ptr<RemoteBuffer> openRemoteBuffer(WindowHandle) override { return nullptr; }
  int tabCount(WindowHandle) override { return 0; }
  std::u16string tabText(RemoteBuffer&, WindowHandle, int) override { return {}; }
  int tabCurrent(WindowHandle) override { return -1; }
  void selectTab(RemoteBuffer&, WindowHandle, int) override {}
  uint64_t treeItem(WindowHandle, TreeRelation, uint64_t) override { return 0; }
  TreeItemFacts treeItemFacts(RemoteBuffer&, WindowHandle, uint64_t) override { return {}; }
  void treeSelect(WindowHandle, uint64_t) override {}
  bool treeExpanded(WindowHandle, uint64_t) override { return false; }
  std::optional<WindowRect> treeItemRect(RemoteBuffer&, WindowHandle, uint64_t) override { return std::nullopt; }
  int listViewCount(WindowHandle) override { return 0; }
  int listViewColumns(WindowHandle) override { return 0; }
  std::u16string listViewColumnText(RemoteBuffer&, WindowHandle, int) override { return {}; }
  std::u16string listViewText(RemoteBuffer&, WindowHandle, int, int) override { return {}; }
  uint32_t listViewState(WindowHandle, int, uint32_t) override { return 0; }
  void setListViewState(RemoteBuffer&, WindowHandle, int, uint32_t, uint32_t) override {}
  std::optional<std::pair<int, int>> listViewItemPosition(RemoteBuffer&, WindowHandle, int) override {
    return std::nullopt;
  }
  int statusParts(WindowHandle) override { return 0; }
  std::u16string statusText(RemoteBuffer&, WindowHandle, int) override { return {}; }
  std::optional<WindowRect> statusPartRect(RemoteBuffer&, WindowHandle, int) override { return std::nullopt; }
  int toolButtonCount(WindowHandle) override { return 0; }
  std::optional<ToolButtonFacts> toolButton(RemoteBuffer&, WindowHandle, int) override { return std::nullopt; }
  std::u16string toolButtonText(RemoteBuffer&, WindowHandle, int) override { return {}; }
  std::optional<WindowRect> toolButtonRect(RemoteBuffer&, WindowHandle, int) override { return std::nullopt; }
  void showToolButton(WindowHandle, int) override {}
  void setHotToolButton(WindowHandle, int) override {}
  void pressToolButton(WindowHandle, int, bool) override {}
  void checkToolButton(WindowHandle, int, bool) override {}
  std::optional<SliderState> sliderState(WindowHandle, SliderKind) override { return std::nullopt; }
  void setSliderPosition(WindowHandle, SliderKind, int32_t) override {}
  void scrollWindowLine(WindowHandle, bool, bool) override {}
  uint64_t windowMenu(WindowHandle) override { return 0; }
  uint64_t systemMenu(WindowHandle) override { return 0; }
  uint64_t popupMenu() override { return 0; }
  int menuItemCount(uint64_t) override { return -1; }
  MenuItemFacts menuItem(uint64_t, int) override { return {}; }
  void initMenu(WindowHandle, uint64_t) override {}
  void initMenuPopup(WindowHandle, uint64_t, int) override {}
  std::optional<WindowRect> menuItemRect(WindowHandle, uint64_t, int) override { return std::nullopt; }
  void postCommand(WindowHandle, uint32_t) override {}
};

}  // namespace

Controls& systemControls() {
  static NoControls none;
  return none;
}

}  // namespace maqo::platform
