#include "engine/library/builtin_host.h"

#include "platform/system_services.h"

namespace maqo::engine {

FamilyStateStore& BuiltinHost::familyState() {
  static FamilyStateStore state;
  return state;
}

platform::SystemServices& BuiltinHost::system() { return platform::systemServices(); }

void BuiltinHost::executeStatementText(std::u16string_view statement) {
  throw ScriptError(cat(u"EVAL: statements are not available in this host: ", statement),
                            cat(u"EVAL: このホストでは文を実行できません: ", statement));
}

void BuiltinHost::callScriptFile(std::u16string_view path) {
  throw ScriptError(cat(u"EVAL: CALL is not available in this host: ", path),
                            cat(u"EVAL: このホストでは CALL を実行できません: ", path));
}

void BuiltinHost::exitRun() {
  throw ScriptError(u"POFF: there is no run to end in this host", u"POFF: このホストには終了する実行がありません");
}

void BuiltinHost::requestRestart(bool) {
  throw ScriptError(u"POFF(P_MAQO_REEXEC) needs the host application",
                            u"POFF(P_MAQO_REEXEC) はホストアプリケーションが必要です");
}

bool BuiltinHost::confirmAbort(const Message& message) { throw ScriptError(message, true); }

}  // namespace maqo::engine
