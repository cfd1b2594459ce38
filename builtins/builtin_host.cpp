#include "builtins/builtin_host.h"

#include "builtins/builtin_messages.h"
#include "builtins/builtin_state.h"
#include "platform/system_services.h"

namespace maqo::builtins {

BuiltinState& BuiltinHost::builtinState() {
  static BuiltinState state;
  return state;
}

platform::SystemServices& BuiltinHost::system() { return platform::systemServices(); }

void BuiltinHost::executeStatementText(std::u16string_view statement) {
  throw engine::ScriptError(messages::cat(u"EVAL: statements are not available in this host: ", statement),
                            messages::cat(u"EVAL: このホストでは文を実行できません: ", statement));
}

void BuiltinHost::callScriptFile(std::u16string_view path) {
  throw engine::ScriptError(messages::cat(u"EVAL: CALL is not available in this host: ", path),
                            messages::cat(u"EVAL: このホストでは CALL を実行できません: ", path));
}

void BuiltinHost::exitRun() {
  throw engine::ScriptError(u"POFF: there is no run to end in this host", u"POFF: このホストには終了する実行がありません");
}

void BuiltinHost::requestRestart(bool) {
  throw engine::ScriptError(u"POFF(P_MAQO_REEXEC) needs the host application",
                            u"POFF(P_MAQO_REEXEC) はホストアプリケーションが必要です");
}

bool BuiltinHost::confirmAbort(const engine::Message& message) { throw engine::ScriptError(message, true); }

}  // namespace maqo::builtins
