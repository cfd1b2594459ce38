// The image builtins of the script language: CHKIMG (search the screen for a
// bitmap), PEEKCOLOR (one pixel's colour) and SAVEIMG (capture to a BMP or
// JPEG file or the clipboard). They honour the caller's MOUSEORG origin and
// capture mode. On a build without a screen they raise a catchable error
// naming the builtin.
#pragma once
#include <span>

#include "builtins/named_builtin.h"

namespace maqo::automation {

std::span<const builtins::NamedBuiltin> ImageBuiltins();

// Gives CHKIMG, PEEKCOLOR and SAVEIMG their functions in the library and adds
// the hook that empties the template cache when a run ends.
void RegisterImageBuiltins(engine::BuiltinLibrary& library);

engine::ScriptValue Chkimg(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Peekcolor(builtins::BuiltinCall& call, builtins::BuiltinHost& host);
engine::ScriptValue Saveimg(builtins::BuiltinCall& call, builtins::BuiltinHost& host);

}  // namespace maqo::automation
