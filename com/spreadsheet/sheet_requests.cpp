#include "com/spreadsheet/sheet_requests.h"

#include "com/spreadsheet/cell_reference.h"
#include "com/spreadsheet/sheet_dispatch.h"

namespace maqo::com::spreadsheet {

std::optional<platform::ComValue> SheetKey(const engine::BuiltinArgument& argument) {
  if (argument.text.empty()) return std::nullopt;
  if (argument.isNumber) return IntValue(argument.integer);
  return TextValue(argument.text);
}

CellTarget TargetOf(const engine::BuiltinCall& call, int addressIndex) {
  CellTarget target;
  const engine::BuiltinArgument& address = call.at(addressIndex);
  const engine::BuiltinArgument& next = call.at(addressIndex + 1);
  const engine::BuiltinArgument& sheet = call.at(addressIndex + 2);
  if (!address.text.empty()) target.address = AddressArgument(address, next);
  if (!sheet.text.empty()) {
    target.sheet = SheetKey(sheet);
  } else if (!address.text.empty() && !next.text.empty() && !next.isNumber) {
    target.sheet = TextValue(next.text);
  }
  return target;
}

CellColours ColoursOf(const engine::BuiltinCall& call) {
  // A colour left out, or given as an empty argument, is not set.
  CellColours colours;
  if (!call.text(5).empty()) colours.text = call.integer(5);
  if (!call.text(6).empty()) colours.background = call.integer(6);
  return colours;
}

}  // namespace maqo::com::spreadsheet
