// The engine as the expression evaluator and the builtins see it from one
// frame: FrameEvalHost answers names, calls and options for EvaluateExpression;
// FrameBuiltinHost is what a builtin called from that frame may use.
// GlobalScopeHost evaluates the expressions of declarations while the
// program is built (CONST values, PUBLIC initial values, HASHTBL flags).
#pragma once
#include <string>

#include "engine/eval/eval_host.h"
#include "engine/library/builtin_host.h"
#include "engine/library/string_call_options.h"

namespace maqo::engine {

class Executor;
struct ExecFrame;

// "GLOBAL.X" read or written inside a module means the global X.
inline bool IsGlobalQualified(std::u16string_view name, const THensuFmt& frame) {
  return !frame.moduleName.empty() && name.substr(0, 7) == u"GLOBAL.";
}

class FrameEvalHost final : public EvalHost {
 public:
  FrameEvalHost(Executor& executor, ExecFrame& frame) : executor_(executor), frame_(frame) {}

  ScriptValue getValue(const NameRef& ref, std::span<const ScriptValue> indexes) override;
  ScriptValue callFunction(const CallSite& call, EvalContext& context) override;
  ScriptValue comMember(const NameRef& ref) override;
  bool isModuleMember(std::u16string_view dottedName) override;
  EvalOptions options() override;
  bool checkMode() override;
  int compareText(std::u16string_view a, std::u16string_view b) override;

 private:
  Executor& executor_;
  ExecFrame& frame_;
};

class FrameBuiltinHost final : public BuiltinHost, public StringCallOptions {
 public:
  FrameBuiltinHost(Executor& executor, ExecFrame& frame) : executor_(executor), frame_(frame) {}

  platform::Platform& platform() override;
  THensuFmt& frame() override;
  GlobalStore& globals() override;
  ScriptValue evaluate(const Expression& expression) override;
  ScriptValue evaluateText(std::u16string_view text) override;
  bool stopRequested() override;
  bool checkMode() override;
  bool onMainThread() override;
  bool comErrorsIgnored() override;
  void raiseComErrorFlag() override;
  FamilyStateStore& familyState() override;
  void controlScriptThread(int slot, int command) override;
  bool runPaused() override;
  bool comEventsActive() override;
  DialogOptions dialogOptions() override;
  void releaseInputForDialog() override;
  void executeStatementText(std::u16string_view statement) override;
  void callScriptFile(std::u16string_view path) override;
  void exitRun() override;
  void requestRestart(bool runAgain) override;
  std::u16string statementText() override;
  std::function<void(int, int)> hotkeyHandler(std::u16string_view name) override;
  std::function<void(int, std::vector<ScriptValue>&)> eventHandler(std::u16string_view name) override;

  // A failure the user may choose to ignore (file access, image files):
  // false when the script goes on, true when the run stops; thrown as a
  // catchable ScriptError when a TRY waits for it.
  bool confirmAbort(const Message& message) override;

  // OPTION SAMESTR, and the byte-string mark of the expression that makes the call.
  bool sameStr() override;
  void markByteStringProduced() override;

  // Makes context the expression a builtin call belongs to while the call
  // runs (calls nest, so the previous one is put back afterwards).
  class CallScope {
   public:
    CallScope(FrameBuiltinHost& host, EvalContext& context) : host_(host), saved_(host.context_) { host.context_ = &context; }
    ~CallScope() { host_.context_ = saved_; }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

   private:
    FrameBuiltinHost& host_;
    EvalContext* saved_;
  };

 private:
  Executor& executor_;
  ExecFrame& frame_;
  EvalContext* context_ = nullptr;
};

// Evaluates the expressions of declarations in the global frame while the
// program is built: names, constants and builtins; a user function cannot be
// called yet (its lines are not built), which is reported.
class GlobalScopeHost final : public EvalHost {
 public:
  explicit GlobalScopeHost(Executor& executor) : executor_(executor) {}

  ScriptValue getValue(const NameRef& ref, std::span<const ScriptValue> indexes) override;
  ScriptValue callFunction(const CallSite& call, EvalContext& context) override;
  ScriptValue comMember(const NameRef& ref) override;
  bool isModuleMember(std::u16string_view dottedName) override;
  EvalOptions options() override;
  bool checkMode() override;
  int compareText(std::u16string_view a, std::u16string_view b) override;

 private:
  Executor& executor_;
};

}  // namespace maqo::engine
