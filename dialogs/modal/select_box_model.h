// The select dialog without its window: how its arguments split into
// position, message and items, which kind of controls it shows, and the value
// it returns for the items the user chose.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "dialogs/modal/dialog_placement.h"

namespace maqo::dialogs {

inline constexpr int kSelectString = 64;   // SLCT_STR
inline constexpr int kSelectNumber = 128;  // SLCT_NUM
inline constexpr size_t kMaxBitItems = 31;

enum class SelectKind { Buttons, CheckBoxes, RadioButtons, DropDownList, ListBox };
SelectKind SelectKindOf(int64_t type);
// Check boxes and list boxes let the user choose several items.
bool ChoosesSeveral(SelectKind kind);

// One argument from the third on, already evaluated: a plain value gives one
// text; an array or hash table gives its elements.
struct SelectArgument {
  std::vector<std::u16string> values;
  bool isContainer = false;
};

struct SelectContent {
  std::optional<DialogPoint> position;
  std::u16string message;
  std::vector<std::u16string> items;
};

// Splits the arguments: two leading plain numeric values followed by a
// message are a position. The decision is made on the values, so a position
// held in variables works like one written as numbers, and an empty message
// keeps its slot. Empty items are dropped; without a result-form bit at most
// 31 items are kept, as each one needs a bit of the integer result.
SelectContent DecodeSelectArguments(int64_t type, const std::vector<SelectArgument>& arguments);

// The value the dialog returns: an integer or a string.
using SelectResult = std::variant<int64_t, std::u16string>;

// The result for the chosen item indexes (in increasing order) after OK or a
// button click.
SelectResult SelectResultFor(int64_t type, const std::vector<size_t>& chosen, const std::vector<std::u16string>& items);
// Escape or the close box.
SelectResult SelectCancelledResult();
// The time-out ran out: 0, or the empty string with a result-form bit.
SelectResult SelectTimedOutResult(int64_t type);

}  // namespace maqo::dialogs
