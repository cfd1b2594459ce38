#include "builtins/file_builtins.h"

#include "builtins/file_directory.h"
#include "builtins/file_messages.h"
#include "builtins/file_slots.h"
#include "builtins/ini_file.h"

namespace maqo::builtins {

namespace {

using engine::ScriptValue;

void limitArguments(const BuiltinCall& call, int most) {
  if (call.count() > most) throw file_messages::tooManyArguments();
}

std::u16string iniFile(const BuiltinCall& call, int index) {
  return IniFileArgument(call.text(index), GetIniHostSettings());
}

const NamedBuiltin kFileBuiltins[] = {
    {u"FOPEN", &FOpenBuiltin},           {u"FCLOSE", &FCloseBuiltin},
    {u"FGET", &FGetBuiltin},             {u"FPUT", &FPutBuiltin},
    {u"FDELLINE", &FDelLineBuiltin},     {u"DELETEFILE", &DeleteFileBuiltin},
    {u"GETDIR", &GetDirBuiltin},         {u"READINI", &ReadIniBuiltin},
    {u"WRITEINI", &WriteIniBuiltin},     {u"DELETEINI", &DeleteIniBuiltin},
};

}  // namespace

std::span<const NamedBuiltin> FileBuiltins() { return kFileBuiltins; }

ScriptValue FOpenBuiltin(BuiltinCall& call, BuiltinHost& host) {
  limitArguments(call, 2);
  const int64_t mode = call.count() >= 2 ? call.integer(1) : open_mode::kRead;
  return EngineFileSlots().Open(host.platform(), call.text(0), mode);
}

ScriptValue FCloseBuiltin(BuiltinCall& call, BuiltinHost& host) {
  limitArguments(call, 2);
  std::u16string name;
  if (EngineFileSlots().Close(host.platform(), call.integer(0), &name)) return ScriptValue::builtinBool(true);
  // The user decides whether the run goes on; either way the result is FALSE
  // (an abort ends the run once this statement is done).
  if (call.integer(1) == 0) host.confirmAbort(file_messages::cannotWrite(name));
  return ScriptValue::builtinBool(false);
}

ScriptValue FGetBuiltin(BuiltinCall& call, BuiltinHost&) {
  return EngineFileSlots().Get(call.integer(0), call.integer(1), call.integer(2), QuoteModeOf(call.integer(3)));
}

ScriptValue FPutBuiltin(BuiltinCall& call, BuiltinHost&) {
  EngineFileSlots().Put(call.integer(0), call.text(1), call.integer(2), call.integer(3), QuoteModeOf(call.integer(4)));
  return ScriptValue::string(u"");
}

ScriptValue FDelLineBuiltin(BuiltinCall& call, BuiltinHost&) {
  limitArguments(call, 2);
  EngineFileSlots().DeleteLine(call.integer(0), call.integer(1));
  return ScriptValue::string(u"");
}

ScriptValue DeleteFileBuiltin(BuiltinCall& call, BuiltinHost&) {
  limitArguments(call, 1);
  return ScriptValue::builtinBool(DeleteMatchingFiles(call.text(0)) > 0);
}

ScriptValue GetDirBuiltin(BuiltinCall& call, BuiltinHost& host) {
  engine::GlobalStore& store = host.globals();
  engine::THensuFmt& frame = host.frame();
  store.ResultArray(frame, u"GETDIR_FILES");
  const std::vector<std::u16string> names =
      ListFolder(call.text(0), call.text(1), call.integer(2) != 0, call.integer(3));
  for (const auto& name : names) store.ResultArray(frame, u"GETDIR_FILES", ScriptValue::string(name));
  return ScriptValue::int32(static_cast<int32_t>(names.size()));
}

ScriptValue ReadIniBuiltin(BuiltinCall& call, BuiltinHost& host) {
  bool quoted = false;
  std::u16string value = ReadIniValue(host.platform(), call.text(0), call.text(1), iniFile(call, 2), &quoted);
  return TextOrNumberResult(value, quoted);
}

ScriptValue WriteIniBuiltin(BuiltinCall& call, BuiltinHost& host) {
  WriteIniValue(host.platform(), call.text(0), call.text(1), call.text(2), true, iniFile(call, 3));
  return ScriptValue::string(u"");
}

ScriptValue DeleteIniBuiltin(BuiltinCall& call, BuiltinHost& host) {
  DeleteIniValue(host.platform(), call.text(0), call.text(1), iniFile(call, 2));
  return ScriptValue::string(u"");
}

}  // namespace maqo::builtins
