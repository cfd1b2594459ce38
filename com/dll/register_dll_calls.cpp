#include "com/dll/register_dll_calls.h"

#include "com/dll/dll_call.h"
#include "com/dll/dll_session.h"

namespace maqo::com::dll {

namespace {

class DeclaredFunctionCaller final : public engine::DllProvider {
 public:
  engine::ScriptValue call(const engine::DllCall& call, engine::BuiltinHost& host) override {
    return CallDeclaredFunction(DllDeclaration{call.declaredName, call.declaration}, call.site, host);
  }
};

}  // namespace

void RegisterDllCalls(engine::BuiltinLibrary& library) {
  static DeclaredFunctionCaller caller;  // stateless; the DLL cache lives in dll_session
  library.setDllProvider(&caller);
  library.addRunHooks(nullptr, [](engine::RunHookContext&) { EndRun(); });
}

}  // namespace maqo::com::dll
