// Sheet blocks and single values in the forms each application exchanges:
// the workbook model takes and gives a two-dimensional array indexed
// (row, column) from 1; the document model takes an array indexed
// (column, row) from 0 and gives a list of rows.
#pragma once
#include <optional>

#include "com/spreadsheet/sheet_array.h"
#include "engine/values/script_value.h"
#include "platform/com_automation.h"

namespace maqo::com::spreadsheet {

// What XLSETDATA writes: a block of cells, or one value.
struct SheetData {
  std::optional<SheetArray> block;
  engine::ScriptValue single;
};

platform::ComValue WorkbookArray(const SheetArray& block);
// The block as the document model takes it, cut or padded with Empty to
// rows x columns.
platform::ComValue DocumentArray(const SheetArray& block, int64_t rows, int64_t columns);
// What the document model's data array read gave: one value for a single
// cell, else a sheet array (indexes from 1). Nothing when it is no list of
// rows.
std::optional<engine::ScriptValue> FromDocumentRows(const platform::ComValue& rows);

}  // namespace maqo::com::spreadsheet
