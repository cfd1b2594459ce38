#include "engine/exec/frame_hosts.h"

#include "engine/errors/error_reporter.h"
#include "engine/eval/evaluator.h"
#include "engine/eval/text_helpers.h"
#include "engine/exec/exec_frame.h"
#include "engine/exec/exec_messages.h"
#include "engine/exec/executor.h"
#include "engine/library/builtin_library.h"
#include "engine/library/com_event_activity.h"
#include "engine/run/tuscript.h"


namespace maqo::engine {

namespace msg = exec_messages;

namespace {

EvalOptions optionsOf(const TUScript& engine) { return engine.program.Options.evalOptions(); }

}  // namespace

// ---- FrameEvalHost ----

ScriptValue FrameEvalHost::getValue(const NameRef& ref, std::span<const ScriptValue> indexes) {
  GlobalStore& store = executor_.engine().store;
  // GLOBAL.X inside a module: the global X, past the module's own member and the locals.
  if (IsGlobalQualified(ref.name, frame_)) return store.GetValue(store.GlobalScope, ref.name.substr(7), indexes);
  return store.GetValue(frame_, ref.name, indexes, false, &ref.hints);
}

ScriptValue FrameEvalHost::callFunction(const CallSite& call, EvalContext& context) {
  FrameBuiltinHost::CallScope scope(frame_.builtinHost, context);
  return executor_.KansuCall(frame_, call);
}

ScriptValue FrameEvalHost::comMember(const NameRef& ref) {
  ObjectProvider* objects = executor_.engine().library.objects();
  if (objects == nullptr) throw ScriptError(msg::comUnavailable(ref.text));
  return objects->get(ref.text, frame_.builtinHost);
}

bool FrameEvalHost::isModuleMember(std::u16string_view dottedName) {
  return executor_.engine().store.IsModuleReference(dottedName, frame_);
}

EvalOptions FrameEvalHost::options() { return optionsOf(executor_.engine()); }

bool FrameEvalHost::checkMode() { return executor_.engine().CheckMode.load(std::memory_order_relaxed); }

int FrameEvalHost::compareText(std::u16string_view a, std::u16string_view b) {
  return executor_.engine().platform.locale.compareText(a, b);
}

// ---- FrameBuiltinHost ----

platform::Platform& FrameBuiltinHost::platform() { return executor_.engine().platform; }

THensuFmt& FrameBuiltinHost::frame() { return frame_; }

GlobalStore& FrameBuiltinHost::globals() { return executor_.engine().store; }

ScriptValue FrameBuiltinHost::evaluate(const Expression& expression) { return executor_.Evaluate(frame_, expression); }

ScriptValue FrameBuiltinHost::evaluateText(std::u16string_view text) {
  return EvalExpression(text, frame_.evalHost, executor_.engine().compileCache);
}

bool FrameBuiltinHost::stopRequested() {
  TUScript& engine = executor_.engine();
  return engine.StopRequestedFor(frame_.thread) || engine.AbortFlag.load(std::memory_order_relaxed);
}

bool FrameBuiltinHost::checkMode() { return executor_.engine().CheckMode.load(std::memory_order_relaxed); }

bool FrameBuiltinHost::onMainThread() { return executor_.engine().OnMainThread(); }

bool FrameBuiltinHost::comErrorsIgnored() { return frame_.thread.comErrorIgnore; }

void FrameBuiltinHost::raiseComErrorFlag() { frame_.thread.comErrorFlag = true; }

FamilyStateStore& FrameBuiltinHost::familyState() { return executor_.engine().familyState; }

void FrameBuiltinHost::controlScriptThread(int slot, int command) {
  executor_.engine().ThreadSlots.control(slot, command);
}

bool FrameBuiltinHost::sameStr() { return executor_.engine().program.Options.sameStr; }

void FrameBuiltinHost::markByteStringProduced() {
  if (context_ != nullptr) context_->byteStringProduced = true;
}

bool FrameBuiltinHost::runPaused() { return executor_.engine().RunState.load() == kRunPaused; }

bool FrameBuiltinHost::comEventsActive() {
  const ComEventActivity* activity = familyState().find<ComEventActivity>();
  return activity != nullptr && activity->connections.load(std::memory_order_relaxed) > 0;
}

BuiltinHost::DialogOptions FrameBuiltinHost::dialogOptions() {
  TUScript& engine = executor_.engine();
  DialogOptions options;
  options.title = engine.program.Options.dialogTitle;
  const FontSetting font = engine.dialogFont();
  if (!font.name.empty() || font.size > 0) options.font = font;
  return options;
}

void FrameBuiltinHost::releaseInputForDialog() { executor_.engine().releaseBeforeDialog(); }

void FrameBuiltinHost::executeStatementText(std::u16string_view statement) {
  executor_.ExecuteStatementText(frame_, statement);
}

void FrameBuiltinHost::callScriptFile(std::u16string_view path) {
  const std::u16string name = UpperCase(Trim(path));
  const auto function = executor_.FindFunction(name, frame_, true);
  if (!function) throw ScriptError(msg::unknownFunction());
  std::vector<CallArgument> none;
  executor_.CallUserFunction(frame_, *function, none, true);
}

void FrameBuiltinHost::exitRun() {
  TUScript& engine = executor_.engine();
  engine.ExitAllFlag.store(true);
  int expected = engine.StopRequest.load();
  while (expected < 1 && !engine.StopRequest.compare_exchange_weak(expected, 1)) {
  }
  frame_.stopFlag = true;
}

void FrameBuiltinHost::requestRestart(bool runAgain) {
  TUScript& engine = executor_.engine();
  if (!engine.OnRestartRequest) {
    BuiltinHost::requestRestart(runAgain);
    return;
  }
  engine.OnRestartRequest(runAgain);
  exitRun();
}

std::u16string FrameBuiltinHost::statementText() {
  const std::vector<std::u16string>& lines = executor_.engine().program.ScriptLines;
  if (frame_.line < 0 || static_cast<size_t>(frame_.line) >= lines.size()) return {};
  return lines[static_cast<size_t>(frame_.line)];
}

std::function<void(int, int)> FrameBuiltinHost::hotkeyHandler(std::u16string_view name) {
  const std::optional<FoundFunction> found = executor_.FindFunction(name, frame_, false);
  if (!found) return {};
  Executor* executor = &executor_;
  const std::u16string qualified = found->name;
  return [executor, qualified](int virtualKey, int modifiers) {
    // The program may have been rebuilt since: find the function again.
    TUScript& engine = executor->engine();
    const std::optional<FoundFunction> now = executor->FindFunction(qualified, engine.store.GlobalScope, true);
    if (now) executor->CallHotkeyHandler(now->header, virtualKey, modifiers);
  };
}

std::function<void(int, std::vector<ScriptValue>&)> FrameBuiltinHost::eventHandler(std::u16string_view name) {
  const std::optional<FoundFunction> found = executor_.FindFunction(name, frame_, false);
  if (!found) return {};
  Executor* executor = &executor_;
  const std::u16string qualified = found->name;
  return [executor, qualified](int eventId, std::vector<ScriptValue>& parameters) {
    // The program may have been rebuilt since: find the procedure again.
    TUScript& engine = executor->engine();
    const std::optional<FoundFunction> now = executor->FindFunction(qualified, engine.store.GlobalScope, true);
    if (now) executor->CallEventHandler(now->header, eventId, parameters);
  };
}

bool FrameBuiltinHost::confirmAbort(const Message& message) {
  return ConfirmAbort(executor_.engine(), message, frame_.tryDepth > 0 || frame_.openTries > 0);
}

// ---- the global scope, while the program is built ----

namespace {

class GlobalBuiltinHost final : public BuiltinHost {
 public:
  GlobalBuiltinHost(TUScript& engine, EvalHost& evalHost) : engine_(engine), evalHost_(evalHost) {}

  platform::Platform& platform() override { return engine_.platform; }
  THensuFmt& frame() override { return engine_.store.GlobalScope; }
  GlobalStore& globals() override { return engine_.store; }
  ScriptValue evaluate(const Expression& expression) override { return EvaluateExpression(expression, evalHost_); }
  ScriptValue evaluateText(std::u16string_view text) override {
    return EvalExpression(text, evalHost_, engine_.compileCache);
  }
  bool stopRequested() override { return engine_.StopRequest.load() > 0 || engine_.AbortFlag.load(); }
  bool checkMode() override { return engine_.CheckMode.load(); }
  bool onMainThread() override { return true; }
  FamilyStateStore& familyState() override { return engine_.familyState; }

 private:
  TUScript& engine_;
  EvalHost& evalHost_;
};

}  // namespace

ScriptValue GlobalScopeHost::getValue(const NameRef& ref, std::span<const ScriptValue> indexes) {
  GlobalStore& store = executor_.engine().store;
  return store.GetValue(store.GlobalScope, ref.name, indexes);
}

ScriptValue GlobalScopeHost::callFunction(const CallSite& call, EvalContext&) {
  TUScript& engine = executor_.engine();
  if (const BuiltinEntry* builtin = engine.library.find(call.name)) {
    ObjectProvider* objects = engine.library.objects();
    if (!call.tail.empty() && objects == nullptr) throw ScriptError(msg::comUnavailable(call.text));
    GlobalBuiltinHost host(engine, *this);
    ScriptValue result = engine.library.call(*builtin, call, host);
    if (call.tail.empty()) return result;
    return objects->member(result, call.tail, call.text, host);
  }
  throw ScriptError(msg::functionAtBuild(call.name));
}

ScriptValue GlobalScopeHost::comMember(const NameRef& ref) {
  TUScript& engine = executor_.engine();
  if (engine.library.objects() == nullptr) throw ScriptError(msg::comUnavailable(ref.text));
  GlobalBuiltinHost host(engine, *this);
  return engine.library.objects()->get(ref.text, host);
}

bool GlobalScopeHost::isModuleMember(std::u16string_view dottedName) {
  GlobalStore& store = executor_.engine().store;
  return store.IsModuleReference(dottedName, store.GlobalScope);
}

EvalOptions GlobalScopeHost::options() { return optionsOf(executor_.engine()); }

bool GlobalScopeHost::checkMode() { return executor_.engine().CheckMode.load(); }

int GlobalScopeHost::compareText(std::u16string_view a, std::u16string_view b) {
  return executor_.engine().platform.locale.compareText(a, b);
}

}  // namespace maqo::engine
