// The spreadsheet builtins on the document model (ProgID
// "com.sun.star.ServiceManager"): a spreadsheet document loaded through the
// desktop. Positions are counted from 0; arrays go in with the column as
// their first index and come back as a list of rows. One attempt each.
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

// True when the object answers as a document (it has a CurrentController).
bool IsCalcDocument(platform::ComObject& object);

// The loaded document. Throws the catchable "Not Found: " and "OOo Calc
// cannot be started" errors.
engine::ScriptValue CalcOpen(SheetSession& session, const OpenRequest& request,
                             std::span<const std::u16string> options);
bool CalcClose(SheetSession& session, const ComObjectPtr& document, std::u16string_view saveName);
bool CalcActivate(const ComObjectPtr& document, const engine::BuiltinArgument& sheet);
bool CalcSheet(SheetSession& session, const ComObjectPtr& document, std::u16string_view name, bool remove);
// These two throw SheetCallFailed when a call fails.
engine::ScriptValue CalcGetData(const ComObjectPtr& document, const CellTarget& target);
void CalcSetData(const ComObjectPtr& document, const CellTarget& target, const SheetData& data,
                 const CellColours& colours);

// A Windows colour (0x00BBGGRR) in the document model's order (0x00RRGGBB).
int64_t SwapRedAndBlue(int64_t colour);

}  // namespace maqo::com::spreadsheet
