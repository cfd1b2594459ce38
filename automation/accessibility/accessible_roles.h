// Role and state numbers of the accessibility tree, and which elements count
// as clickable.
#pragma once
#include <cstdint>

namespace maqo::automation::accessibility {

namespace role {
inline constexpr int kClient = 10, kMenuItem = 12, kTable = 24, kCell = 29, kLink = 30, kList = 33,
                     kListItem = 34, kOutlineItem = 36, kPageTab = 37, kGraphic = 40, kStaticText = 41,
                     kText = 42, kPushButton = 43, kCheckButton = 44, kRadioButton = 45, kComboBox = 46,
                     kSlider = 51, kSpinButton = 52, kButtonDropDown = 56, kButtonMenu = 57,
                     kButtonDropDownGrid = 58, kSplitButton = 62;
}
namespace state {
inline constexpr uint32_t kUnavailable = 0x1, kSelected = 0x2, kFocused = 0x4, kPressed = 0x8, kChecked = 0x10,
                          kMixed = 0x20, kReadOnly = 0x40, kFocusable = 0x100000, kSelectable = 0x200000,
                          kLinked = 0x400000;
}

bool IsClickable(int role, uint32_t state);
// Table, cell, link and the roles between them.
inline bool IsTableFamily(int r) { return r >= role::kTable && r <= role::kLink; }
// Checked for a check button; selected, pressed or checked for the others.
bool IsOn(int role, uint32_t state);

}  // namespace maqo::automation::accessibility
