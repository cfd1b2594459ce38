#include "com/spreadsheet/sheet_array.h"

namespace maqo::com::spreadsheet {

using engine::ScriptValue;

std::optional<SheetArray> ShapeDeclaredArray(std::span<const ScriptValue> values, std::span<const int64_t> upperBounds) {
  SheetArray block;
  if (upperBounds.size() == 1) {
    const int64_t count = upperBounds[0] + 1;
    if (count <= 0 || values.size() < static_cast<size_t>(count)) return std::nullopt;
    const int64_t first = values[0].isEmpty() && count > 1 ? 1 : 0;
    block.rows = 1;
    block.columns = count - first;
    block.cells.assign(values.begin() + first, values.begin() + count);
    return block;
  }
  if (upperBounds.size() != 2) return std::nullopt;
  const int64_t rows = upperBounds[0] + 1, columns = upperBounds[1] + 1;
  if (rows <= 0 || columns <= 0 || values.size() < static_cast<size_t>(rows * columns)) return std::nullopt;
  auto cell = [&](int64_t r, int64_t c) -> const ScriptValue& { return values[static_cast<size_t>(r * columns + c)]; };
  bool rowZeroUsed = false, columnZeroUsed = false;
  for (int64_t c = 0; c < columns; ++c) rowZeroUsed = rowZeroUsed || !cell(0, c).isEmpty();
  for (int64_t r = 0; r < rows; ++r) columnZeroUsed = columnZeroUsed || !cell(r, 0).isEmpty();
  // A single row or column has nothing to drop.
  const int64_t firstRow = rowZeroUsed || rows == 1 ? 0 : 1;
  const int64_t firstColumn = columnZeroUsed || columns == 1 ? 0 : 1;
  block.rows = rows - firstRow;
  block.columns = columns - firstColumn;
  block.cells.reserve(static_cast<size_t>(block.rows * block.columns));
  for (int64_t r = firstRow; r < rows; ++r)
    for (int64_t c = firstColumn; c < columns; ++c) block.cells.push_back(cell(r, c));
  return block;
}

std::optional<SheetArray> ShapeArrayValue(const engine::ArrayValue& array) {
  SheetArray block;
  if (array.dimensions() == 1) {
    block.rows = 1;
    block.columns = array.bound(0).length();
  } else if (array.dimensions() == 2) {
    block.rows = array.bound(0).length();
    block.columns = array.bound(1).length();
  } else {
    return std::nullopt;
  }
  if (block.rows <= 0 || block.columns <= 0) return std::nullopt;
  block.cells = array.elements();
  return block;
}

ScriptValue SheetArrayValue(const SheetArray& block) {
  engine::ArrayValue array({engine::ArrayBound{1, block.rows}, engine::ArrayBound{1, block.columns}});
  for (size_t i = 0; i < block.cells.size() && i < array.size(); ++i) array.at(i) = block.cells[i];
  return ScriptValue::array(std::move(array));
}

}  // namespace maqo::com::spreadsheet
