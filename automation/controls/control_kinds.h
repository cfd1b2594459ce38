// The kind and option word of the control builtins (the CLK_ and ITM_
// constants combined), and which kind a control belongs to by its class name.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace maqo::automation::controls {

namespace kind_bits {
inline constexpr uint32_t kButton = 0x1, kList = 0x2, kMenu = 0x4, kTab = 0x8, kTreeView = 0x10,
                          kListView = 0x20, kToolBar = 0x40;
inline constexpr uint32_t kShort = 0x100, kBack = 0x200, kMouseMove = 0x400, kLeftClick = 0x800,
                          kRightClick = 0x1000, kDoubleClick = 0x2000, kOfThis = 0x4000, kAccessibility = 0x8000,
                          kFromLast = 0x10000;
inline constexpr uint32_t kEdit = 0x20000, kStatic = 0x40000, kStatusBar = 0x80000, kSlider = 0x100000,
                          kAnyChild = 0x200000, kAdmitDisabled = 0x4000000, kQuery = 0x8000000;
inline constexpr uint32_t kAccessibilityMouse = 0x10000000;  // the mouse variant of CLK_ACC
inline constexpr uint32_t kContinue = 0x2000000;
// The kinds CLKITEM tries when none is named.
inline constexpr uint32_t kDefaultKinds = 0x80FF;
// Bits that only modify a search (CLK_SHORT ... CLK_OFTHIS).
inline constexpr uint32_t kOptionMask = 0x3F00;
}  // namespace kind_bits

// CLKITEM's kinds: 0, or a word with no bit outside the option bits, gets the
// default kinds added. CLK_OFTHIS, CLK_FROMLAST or CLK_CONTINUE alone name no
// kind either.
uint32_t EffectiveClickKinds(uint32_t kinds);

// True when some bit of kinds makes the enumeration admit disabled controls
// without the admit-disabled flag (accessibility, any child, visible-only,
// query).
bool KindsAdmitDisabled(uint32_t kinds);

// A class name as the categories compare it: trimmed, ASCII upper-cased.
std::u16string CategoryClass(std::u16string_view className);

// Whether a control whose prepared class is upperClass belongs to the single
// kind bit. comboInComboEx: a combo box that is the child of a listed
// COMBOBOXEX (it does not count as a list itself).
bool ClassInKind(const std::u16string& upperClass, uint32_t kindBit, bool comboInComboEx = false);

// Whether the class belongs to any kind in kinds.
bool ClassInKinds(const std::u16string& upperClass, uint32_t kinds, bool comboInComboEx = false);

// Check items among buttons: check boxes and 3-state buttons.
bool IsCheckItemClass(const std::u16string& upperClass);

// Lists that answer the combo-box messages (CB_*): combo and colour boxes.
bool IsComboClass(const std::u16string& upperClass);

}  // namespace maqo::automation::controls
