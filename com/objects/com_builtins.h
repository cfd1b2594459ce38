// CREATEOLEOBJ, GETACTIVEOLEOBJ and GETOLEITEM (SAFEARRAY is an array builtin:
// array values become SAFEARRAYs when they are passed to COM).
#pragma once
#include "engine/library/builtin_call.h"
#include "engine/library/builtin_host.h"

namespace maqo::com::objects {

engine::ScriptValue CreateOleObj(engine::BuiltinCall& call, engine::BuiltinHost& host);
engine::ScriptValue GetActiveOleObj(engine::BuiltinCall& call, engine::BuiltinHost& host);
engine::ScriptValue GetOleItem(engine::BuiltinCall& call, engine::BuiltinHost& host);

}  // namespace maqo::com::objects
