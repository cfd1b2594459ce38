// XLOPEN, XLCLOSE, XLACTIVATE, XLSHEET, XLGETDATA and XLSETDATA: each call
// decides from its object which application it talks to (a document with a
// CurrentController is Calc's, anything else Excel's) and stays with it.
#pragma once
#include "engine/library/builtin_call.h"
#include "engine/library/builtin_host.h"
#include "engine/library/builtin_library.h"

namespace maqo::com::spreadsheet {

engine::ScriptValue XlOpen(engine::BuiltinCall& call, engine::BuiltinHost& host);
engine::ScriptValue XlClose(engine::BuiltinCall& call, engine::BuiltinHost& host);
engine::ScriptValue XlActivate(engine::BuiltinCall& call, engine::BuiltinHost& host);
engine::ScriptValue XlSheet(engine::BuiltinCall& call, engine::BuiltinHost& host);
engine::ScriptValue XlGetData(engine::BuiltinCall& call, engine::BuiltinHost& host);
engine::ScriptValue XlSetData(engine::BuiltinCall& call, engine::BuiltinHost& host);

void RegisterSpreadsheetBuiltins(engine::BuiltinLibrary& library);

}  // namespace maqo::com::spreadsheet
