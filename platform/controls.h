// The control seam: the child controls of a window and the messages that read
// and operate their items (buttons, lists, tabs, tree views, list views,
// status bars, edits, sliders) and the clipboard. Items of common controls in
// other processes travel through a RemoteBuffer, memory allocated in the
// control's process for one builtin call. The control logic
// (automation/controls/) asks only these questions, so it runs natively
// against platform/fake/fake_controls.h; the win32 build answers with user32
// and kernel32; the native build has none (available() is false).
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace maqo::platform {

// What the control logic reads about one child window.
struct ChildFacts {
  WindowHandle handle = 0;
  WindowHandle parent = 0;
  std::u16string className;  // RealGetWindowClassW
  std::u16string title;
  WindowRect rect;           // screen coordinates
  bool visible = false;      // IsWindowVisible
  bool enabled = false;
  uint32_t style = 0;        // GWL_STYLE
};

namespace window_styles {
inline constexpr uint32_t kVisible = 0x10000000, kHScroll = 0x00100000, kVScroll = 0x00200000;
}

// The standard button's check styles: BS_CHECKBOX and BS_AUTOCHECKBOX (2, 3),
// BS_3STATE and BS_AUTO3STATE (5, 6).
namespace button_styles {
inline bool IsCheckBox(uint32_t style) { return (style & 0xF) == 2 || (style & 0xF) == 3; }
inline bool IsThreeState(uint32_t style) { return (style & 0xF) == 5 || (style & 0xF) == 6; }
}  // namespace button_styles

enum class ClickButton { Left, Right };

// Memory in another control's process, kept for one builtin call and freed
// when destroyed.
class RemoteBuffer {
 public:
  virtual ~RemoteBuffer() = default;
};

enum class TreeRelation { Root, Child, Next, Parent, Caret };

struct TreeItemFacts {
  std::u16string text;
  uint32_t state = 0;
  bool hasChildren = false;
};

struct ListViewState {
  static constexpr uint32_t kFocused = 0x1, kSelected = 0x2, kStateImage = 0xF000;
};

struct ToolButtonFacts {
  int32_t command = 0;
  uint8_t state = 0;  // TBSTATE_ bits
  uint8_t style = 0;
  static constexpr uint8_t kChecked = 0x1, kPressed = 0x2, kEnabled = 0x4, kHidden = 0x8;
};

enum class SliderKind { TrackBar, ScrollBar, WindowHorizontal, WindowVertical };

struct SliderState {
  int32_t minimum = 0, maximum = 0, page = 0, position = 0;
  bool vertical = false;
};

struct MenuItemFacts {
  std::u16string text;  // GetMenuStringW by position
  uint32_t id = 0;
  uint64_t submenu = 0;
  uint32_t state = 0;   // MFS_ bits
  static constexpr uint32_t kGrayed = 0x3, kChecked = 0x8;
};

class Controls {
 public:
  virtual ~Controls() = default;
  virtual bool available() = 0;

  // ---- windows ----
  // Every descendant of parent, in the platform's enumeration order.
  virtual std::vector<ChildFacts> children(WindowHandle parent) = 0;
  virtual std::optional<ChildFacts> facts(WindowHandle h) = 0;
  // GetDlgCtrlID.
  virtual int32_t controlId(WindowHandle h) = 0;
  // The control that has the keyboard focus in the window's thread.
  virtual WindowHandle focusedControl(WindowHandle window) = 0;

  // ---- acting on a control ----
  // Posted button messages at a client point (down, up; doubled for a double
  // click), with this process at real-time priority meanwhile.
  virtual void postClick(WindowHandle control, ClickButton button, bool doubleClick, int x, int y) = 0;
  // Attaches to the control's thread input, SetForegroundWindow, SetFocus.
  virtual void focus(WindowHandle control) = 0;
  // With window's redraw locked, WM_KEYDOWN/WM_KEYUP of firstKey then
  // secondKey sent to the control (1 s limit each), then WM_NULL to both.
  virtual void keyNudge(WindowHandle control, WindowHandle window, int firstKey, int secondKey) = 0;
  // One key (down and up) sent to the control.
  virtual void pressKey(WindowHandle control, int virtualKey) = 0;

  // ---- buttons ----
  virtual int buttonCheck(WindowHandle button) = 0;

  // ---- list boxes and combo boxes (the system copies their texts) ----
  virtual int listCount(WindowHandle list, bool combo) = 0;
  virtual std::u16string listText(WindowHandle list, bool combo, int index) = 0;
  virtual int listCurrent(WindowHandle list, bool combo) = 0;
  virtual void setListCurrent(WindowHandle list, bool combo, int index) = 0;
  virtual bool listSelected(WindowHandle list, int index) = 0;
  // index -1: every entry.
  virtual void setListSelected(WindowHandle list, int index, bool selected) = 0;
  virtual void showDropDown(WindowHandle combo, bool show) = 0;

  // ---- texts ----
  // WM_GETTEXTLENGTH / WM_GETTEXT, at most maxChars characters.
  virtual std::u16string windowText(WindowHandle h, size_t maxChars) = 0;
  // WM_SETTEXT with a 1 s limit; false when the control did not answer.
  virtual bool setWindowText(WindowHandle h, const std::u16string& text) = 0;
  virtual void postChar(WindowHandle h, char16_t ch) = 0;
  virtual void postSetModified(WindowHandle h) = 0;
  // Nothing while the clipboard is busy (cannot be opened); empty when it
  // holds no text.
  virtual std::optional<std::u16string> clipboardText() = 0;
  virtual bool setClipboardText(const std::u16string& text) = 0;

  // ---- common controls, read through memory in their process ----
  // Null when the process cannot be opened or the memory not allocated.
  virtual std::unique_ptr<RemoteBuffer> openRemoteBuffer(WindowHandle control) = 0;

  virtual int tabCount(WindowHandle tab) = 0;
  virtual std::u16string tabText(RemoteBuffer& buffer, WindowHandle tab, int index) = 0;
  virtual int tabCurrent(WindowHandle tab) = 0;
  // TCN_SELCHANGING to the parent, TCM_SETCURFOCUS, TCM_SETCURSEL,
  // TCN_SELCHANGE; the notifications' NMHDR lives in the remote buffer.
  virtual void selectTab(RemoteBuffer& buffer, WindowHandle tab, int index) = 0;

  // Tree items as numbers; 0 is none.
  virtual uint64_t treeItem(WindowHandle tree, TreeRelation relation, uint64_t from) = 0;
  virtual TreeItemFacts treeItemFacts(RemoteBuffer& buffer, WindowHandle tree, uint64_t item) = 0;
  virtual void treeSelect(WindowHandle tree, uint64_t item) = 0;
  virtual bool treeExpanded(WindowHandle tree, uint64_t item) = 0;
  // Scrolls the item into view (TVM_ENSUREVISIBLE) and gives its text's
  // rectangle in the tree's client coordinates (TVM_GETITEMRECT).
  virtual std::optional<WindowRect> treeItemRect(RemoteBuffer& buffer, WindowHandle tree, uint64_t item) = 0;

  virtual int listViewCount(WindowHandle view) = 0;
  // The header's columns (0 when the view has no header).
  virtual int listViewColumns(WindowHandle view) = 0;
  virtual std::u16string listViewColumnText(RemoteBuffer& buffer, WindowHandle view, int column) = 0;
  virtual std::u16string listViewText(RemoteBuffer& buffer, WindowHandle view, int row, int column) = 0;
  virtual uint32_t listViewState(WindowHandle view, int row, uint32_t mask) = 0;
  virtual void setListViewState(RemoteBuffer& buffer, WindowHandle view, int row, uint32_t state, uint32_t mask) = 0;
  virtual std::optional<std::pair<int, int>> listViewItemPosition(RemoteBuffer& buffer, WindowHandle view, int row) = 0;

  virtual int statusParts(WindowHandle bar) = 0;
  // The part's whole text, however long (its length is asked first).
  virtual std::u16string statusText(RemoteBuffer& buffer, WindowHandle bar, int part) = 0;
  // The part's rectangle in the bar's client coordinates (SB_GETRECT).
  virtual std::optional<WindowRect> statusPartRect(RemoteBuffer& buffer, WindowHandle bar, int part) = 0;

  virtual int toolButtonCount(WindowHandle bar) = 0;
  virtual std::optional<ToolButtonFacts> toolButton(RemoteBuffer& buffer, WindowHandle bar, int index) = 0;
  // The button's whole text (its length is asked first).
  virtual std::u16string toolButtonText(RemoteBuffer& buffer, WindowHandle bar, int command) = 0;
  // The button's rectangle in the bar's client coordinates.
  virtual std::optional<WindowRect> toolButtonRect(RemoteBuffer& buffer, WindowHandle bar, int index) = 0;
  // TB_HIDEBUTTON FALSE, TB_SETHOTITEM, TB_PRESSBUTTON, TB_CHECKBUTTON.
  virtual void showToolButton(WindowHandle bar, int command) = 0;
  virtual void setHotToolButton(WindowHandle bar, int index) = 0;
  virtual void pressToolButton(WindowHandle bar, int command, bool pressed) = 0;
  virtual void checkToolButton(WindowHandle bar, int command, bool checked) = 0;

  // ---- sliders ----
  virtual std::optional<SliderState> sliderState(WindowHandle h, SliderKind kind) = 0;
  // TBM_SETPOS (redrawn) or SBM_SETPOS; not for a window's own scroll bars.
  virtual void setSliderPosition(WindowHandle h, SliderKind kind, int32_t position) = 0;
  // WM_HSCROLL / WM_VSCROLL with SB_LINEUP or SB_LINEDOWN to the window.
  virtual void scrollWindowLine(WindowHandle h, bool vertical, bool down) = 0;

  // ---- menus ----
  virtual uint64_t windowMenu(WindowHandle window) = 0;
  virtual uint64_t systemMenu(WindowHandle window) = 0;
  // The menu of the pop-up menu window showing now (MN_GETHMENU), 0 when none.
  virtual uint64_t popupMenu() = 0;
  // -1 when the menu cannot be read.
  virtual int menuItemCount(uint64_t menu) = 0;
  virtual MenuItemFacts menuItem(uint64_t menu, int position) = 0;
  // WM_INITMENU, and WM_INITMENUPOPUP for a submenu at a position.
  virtual void initMenu(WindowHandle window, uint64_t menu) = 0;
  virtual void initMenuPopup(WindowHandle window, uint64_t submenu, int position) = 0;
  // GetMenuItemRect: the item's rectangle on the screen.
  virtual std::optional<WindowRect> menuItemRect(WindowHandle window, uint64_t menu, int position) = 0;
  // WM_COMMAND with the item's ID, posted.
  virtual void postCommand(WindowHandle window, uint32_t id) = 0;
};

// The build's controls: user32 on Windows; elsewhere none.
Controls& systemControls();

}  // namespace maqo::platform
