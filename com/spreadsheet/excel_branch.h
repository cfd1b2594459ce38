// The spreadsheet builtins on the workbook model (ProgID "EXCEL.APPLICATION"):
// an Application or a Workbook object. The data, sheet and activation calls
// try their steps up to five times, since the application refuses calls for
// a moment while it is busy; a cell the user is editing is committed first.
#pragma once
#include <optional>
#include <span>
#include <string>

#include "com/spreadsheet/open_options.h"
#include "com/spreadsheet/sheet_dispatch.h"
#include "com/spreadsheet/sheet_requests.h"
#include "com/spreadsheet/sheet_session.h"
#include "engine/library/builtin_call.h"
#include "engine/values/script_value.h"

namespace maqo::com::spreadsheet {

// The Application, or the Workbook for XL_BOOK. Throws the catchable "Not
// Found: " and "EXCEL cannot be started" errors.
engine::ScriptValue ExcelOpen(SheetSession& session, const OpenRequest& request,
                              std::span<const std::u16string> options);
// Closes as XLCLOSE asks (saveName: "" keeps what has a file, "1" discards,
// else a file name to save as). quit tells whether the Application quit.
bool ExcelClose(SheetSession& session, const ComObjectPtr& object, std::u16string_view saveName, bool keepRunning,
                bool& quit);
bool ExcelActivate(SheetSession& session, const ComObjectPtr& object, const engine::BuiltinArgument& sheet,
                   const engine::BuiltinArgument& book);
bool ExcelSheet(SheetSession& session, const ComObjectPtr& object, const engine::BuiltinArgument& name, bool remove);
// Nothing when every attempt failed.
std::optional<engine::ScriptValue> ExcelGetData(SheetSession& session, const ComObjectPtr& object,
                                                const CellTarget& target);
bool ExcelSetData(SheetSession& session, const ComObjectPtr& object, const CellTarget& target, const SheetData& data,
                  const CellColours& colours);

}  // namespace maqo::com::spreadsheet
