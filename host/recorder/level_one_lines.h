// The lines a level-1 recording writes for one click, one changed text entry
// and its trailer. The click line is chosen from facts gathered at the point
// (classes of the window under it and its top-level window, the accessible
// element there, the control indexes the item lookups found), so the choice
// itself needs no windows and is tested from tables.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maqo::host::recorder {

enum class ClickKind { Left, Right, Double };
enum class AccessibleResult { None, Skip, Found };

// Accessible roles the decision list tells apart.
inline constexpr int kRoleMenuItem = 12, kRoleClient = 10, kRoleLink = 30, kRoleListItem = 34,
                     kRoleOutlineItem = 36, kRolePageTab = 37, kRolePushButton = 43, kRoleCheckBox = 44,
                     kRoleRadioButton = 45, kRoleDropDownButton = 56, kRoleMenuButton = 57,
                     kRoleDropDownGrid = 58;
inline constexpr std::uint32_t kStateChecked = 0x10, kStateMixed = 0x20;

struct ClickFacts {
  ClickKind click = ClickKind::Left;
  std::u16string classUnder;      // class of the window under the point
  std::u16string classTop;        // class of its top-level window
  std::u16string titleUnder;      // window text of the window under the point
  std::u16string topParentClass;  // class of the top-level window's parent, if any
  bool clickOnTopLevel = false;   // the window under the point is the top-level window
  bool sixtyFourBit = false;      // its process is a 64-bit process on 64-bit Windows
  bool inMdiChild = false;
  std::u16string mdiChildTitle;
  // The accessible element at the point; the name already escaped.
  AccessibleResult accessible = AccessibleResult::None;
  int role = 0;
  std::uint32_t state = 0;
  std::u16string name;
  int buttonIndex = 0;            // N: standard button of that name in the current window (0: none)
  int sameNameIndex = 0;          // M: among same-named accessible elements
  std::optional<int> listIndex;   // list lookup: found, with N among same-named list items
  bool tabFound = false;          // tab lookup found the name in the current window
  std::optional<bool> menuChecked;  // menu lookup found the item in the current window's menu: checked?
  bool toolBarFound = false;      // tool-bar lookup found the name in the current window
  bool japanese = false;          // comments in Japanese
};

// The click line for the facts, or nothing when the click writes no line.
// Menu items are handled by the converter (they depend on the lines before).
std::optional<std::u16string> ChooseClickLine(const ClickFacts& facts);

// An item name as a script string: a name with a line feed is trimmed and
// counts as multi-line, each remaining line feed is joined in as CHR(10), NUL
// characters go. Returns the quoted text, e.g. "a"+CHR(10)+"b".
std::u16string QuotedItemName(std::u16string_view name, bool* multiLine = nullptr);

// The SENDSTR line for a text entry whose text changed: kind 1 (edit control
// N) or 2 (accessible editable element N). Text over 255 characters is cut
// with "..." and gets a comment saying so.
std::u16string SendStringLine(std::u16string_view text, int kind, int index, bool japanese);

// Level-1 clean-up at the stop: trailing task-bar window lines, pauses and the
// click on the recorder's own tool bar go; a recording that posts menu
// commands gets the declarations it needs at the top.
std::vector<std::u16string> FinishLevelOne(std::vector<std::u16string> lines, std::u16string_view recordingCaption);

}  // namespace maqo::host::recorder
