// The builtins that ask about or act on the machine: KINDOFOS, CPUUSERATE,
// SENSOR, POFF, SOUND, DOSCMD and POWERSHELL.
#pragma once
#include <string>
#include <string_view>

#include "builtins/engine_interface.h"
#include "platform/system_info.h"

namespace maqo::builtins {

engine::ScriptValue KindOfOsBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue CpuUseRateBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue SensorBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue PoffBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue SoundBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue DosCmdBuiltin(BuiltinCall& call, BuiltinHost& host);
engine::ScriptValue PowerShellBuiltin(BuiltinCall& call, BuiltinHost& host);

// The KINDOFOS code of a Windows version (30 for Windows 10 and 11).
int OsCode(const platform::OsVersion& version);

// DOSCMD's command: trimmed, its non-empty lines joined with " & ", and put
// in double quotes when it holds a space and does not begin with two quotes.
std::u16string DosCommandText(std::u16string_view command);

// Standard Base64 with "=" padding and no line breaks.
std::string Base64(std::string_view bytes);

}  // namespace maqo::builtins
