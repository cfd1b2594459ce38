// The parts of a data call both applications need: where (an address or the
// selection) and on which sheet, and what to write with which colours.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "com/spreadsheet/sheet_values.h"
#include "engine/library/builtin_call.h"
#include "platform/com_automation.h"

namespace maqo::com::spreadsheet {

struct CellTarget {
  std::optional<std::u16string> address;      // none: the selection
  std::optional<platform::ComValue> sheet;     // a name, or a position when a number; none: the active sheet
};

// The target of XLGETDATA (address at 1) or XLSETDATA (address at 2): the
// address argument or a row and column, the sheet from the argument after
// them, or from the one after the address when that is a non-number text.
CellTarget TargetOf(const engine::BuiltinCall& call, int addressIndex);

struct CellColours {
  std::optional<int64_t> text;        // Windows order 0x00BBGGRR
  std::optional<int64_t> background;  // Windows order 0x00BBGGRR
};
CellColours ColoursOf(const engine::BuiltinCall& call);

// The sheet key a builtin argument gives: a position for a number, else its
// text; none for an empty argument.
std::optional<platform::ComValue> SheetKey(const engine::BuiltinArgument& argument);

}  // namespace maqo::com::spreadsheet
