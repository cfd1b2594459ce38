#include "com/spreadsheet/sheet_values.h"

#include "com/objects/com_values.h"

namespace maqo::com::spreadsheet {

namespace vt = platform::vt;
using platform::ComValue;

ComValue WorkbookArray(const SheetArray& block) {
  ComValue array;
  array.type = vt::kArray | vt::kVariant;
  array.bounds = {{1, static_cast<int32_t>(block.rows)}, {1, static_cast<int32_t>(block.columns)}};
  array.elements.reserve(block.cells.size());
  for (const engine::ScriptValue& cell : block.cells) array.elements.push_back(objects::ToComArgument(cell));
  return array;
}

ComValue DocumentArray(const SheetArray& block, int64_t rows, int64_t columns) {
  ComValue array;
  array.type = vt::kArray | vt::kVariant;
  array.bounds = {{0, static_cast<int32_t>(columns - 1)}, {0, static_cast<int32_t>(rows - 1)}};
  array.elements.reserve(static_cast<size_t>(rows * columns));
  // Elements are stored with the last index (the row) varying fastest.
  for (int64_t c = 0; c < columns; ++c)
    for (int64_t r = 0; r < rows; ++r)
      array.elements.push_back(r < block.rows && c < block.columns ? objects::ToComArgument(block.at(r, c))
                                                                   : ComValue{});
  return array;
}

std::optional<engine::ScriptValue> FromDocumentRows(const ComValue& rows) {
  if (!(rows.type & vt::kArray) || rows.bounds.size() != 1) return std::nullopt;
  SheetArray block;
  block.rows = static_cast<int64_t>(rows.elements.size());
  for (const ComValue& row : rows.elements) {
    if (!(row.type & vt::kArray) || row.bounds.size() != 1) return std::nullopt;
    if (block.columns == 0) block.columns = static_cast<int64_t>(row.elements.size());
    // A short row is padded with Empty, a long one cut to the first row's width.
    for (int64_t c = 0; c < block.columns; ++c)
      block.cells.push_back(c < static_cast<int64_t>(row.elements.size())
                                ? objects::FromComValue(row.elements[static_cast<size_t>(c)])
                                : engine::ScriptValue());
  }
  if (block.rows == 0 || block.columns == 0) return engine::ScriptValue();
  if (block.rows == 1 && block.columns == 1) return block.cells[0];
  return SheetArrayValue(block);
}

}  // namespace maqo::com::spreadsheet
