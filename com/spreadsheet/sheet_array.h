// The block of cells an array stands for: rows x columns of values, the
// first index the row. Scripts fill their arrays from index 0 or from 1, so
// a declared array's unused row 0 and column 0 are dropped.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/values/script_value.h"

namespace maqo::com::spreadsheet {

struct SheetArray {
  int64_t rows = 0;
  int64_t columns = 0;
  std::vector<engine::ScriptValue> cells;  // row by row

  const engine::ScriptValue& at(int64_t row, int64_t column) const {
    return cells[static_cast<size_t>(row * columns + column)];
  }
};

// A declared array (bounds 0 to each upper bound, elements row by row):
//   two dimensions 0..R x 0..C: row 0 is kept only when one of its elements
//   is not Empty, column 0 likewise (R x C, R+1 or C+1 with them);
//   one dimension 0..N: one row, without element 0 when it is Empty.
// Nothing for other dimension counts or an array without cells.
std::optional<SheetArray> ShapeDeclaredArray(std::span<const engine::ScriptValue> values,
                                             std::span<const int64_t> upperBounds);

// An array value an expression gave: two dimensions as they are, one
// dimension as one row of all its elements. Nothing for other shapes.
std::optional<SheetArray> ShapeArrayValue(const engine::ArrayValue& array);

// The script's form of a block: a two-dimensional array, indexes from 1.
engine::ScriptValue SheetArrayValue(const SheetArray& block);

}  // namespace maqo::com::spreadsheet
