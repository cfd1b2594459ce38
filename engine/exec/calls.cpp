// KansuCall, function lookup, user-function calls with their parameter
// binding and write-back, and the handler procedures the engine calls itself.
#include "engine/eval/expression_tree.h"
#include "engine/eval/text_helpers.h"
#include "engine/exec/exec_messages.h"
#include "engine/exec/executor.h"
#include "engine/library/builtin_library.h"
#include "engine/run/large_stack.h"
#include "engine/run/tuscript.h"
#include "engine/threads/thread_start.h"
#include "engine/values/hash_table.h"
#include "engine/values/reference_text.h"
#include "platform/text_codec.h"


namespace maqo::engine {

namespace msg = exec_messages;

namespace {

// How an argument was bound, for the write-back of VAR parameters.
constexpr int kByValue = 0;
constexpr int kArrayByName = 1;
constexpr int kGlobalHash = 10000;   // + the global table's slot
constexpr int kCallerHash = 20000;   // + the caller's table's slot
constexpr int kArrayValue = 50000;   // an array computed by the argument: not written back

bool startsWith(std::u16string_view text, std::u16string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

void setLocal(ExecFrame& f, std::u16string_view name, ScriptValue value) {
  const int slot = f.locals.declare(name);
  f.locals.slot(slot).values[0] = std::move(value);
}

// The argument is a variable (or an element of one, or of a hash table) the
// caller can be given a value back in: a name as written, no literal, no
// expression, and something that exists under that name.
const NameRef* assignableName(const CallArgument& argument) {
  if (argument.expression == nullptr || argument.expression->root() == nullptr) return nullptr;
  const ExpressionNode& root = *argument.expression->root();
  return root.kind == NodeKind::Name ? root.name.get() : nullptr;
}

}  // namespace

// ---- FindFunction ----

std::optional<FoundFunction> Executor::FindFunction(std::u16string_view name, const THensuFmt& frame,
                                                    bool direct) const {
  if (engine_.AbortFlag.load(std::memory_order_relaxed)) return std::nullopt;
  const Program& program = engine_.program;
  auto found = [&](int index) {
    const FuncEntry& entry = program.FuncEntries[static_cast<size_t>(index)];
    return FoundFunction{program.FuncNames.nameAt(index), entry.module, entry.headerLine, entry.kind};
  };
  const bool dotted = name.find(u'.') != std::u16string_view::npos;
  if (!direct && (!frame.moduleName.empty() || dotted)) {
    std::u16string qualified;
    if (startsWith(name, u".")) {
      const std::u16string_view module = engine_.store.WithTargetModule(frame);
      if (!module.empty()) qualified.append(module).append(name);
    } else if (startsWith(name, u"THIS.")) {
      if (!frame.moduleName.empty()) qualified.append(frame.moduleName).append(name.substr(4));
    } else if (startsWith(name, u"GLOBAL.")) {
      qualified = name.substr(7);
    } else if (!dotted) {
      qualified.append(frame.moduleName).append(u".").append(name);
    }
    if (!qualified.empty()) {
      const int index = program.FuncNames.indexOf(qualified);
      if (index >= 0) return found(index);
    }
  }
  const int index = program.FuncNames.indexOf(name);
  if (index >= 0) return found(index);
  return std::nullopt;
}

// ---- KansuCall ----

ScriptValue Executor::KansuCall(ExecFrame& caller, const CallSite& call, CallMode mode) {
  if (caller.stopFlag || engine_.AbortFlag.load(std::memory_order_relaxed)) return ScriptValue::int32(0);
  const std::u16string& name = call.name;
  const std::optional<FoundFunction> function = FindFunction(name, caller, mode == CallMode::CallFile);

  if (!function && mode == CallMode::Expression) {
    if (const BuiltinEntry* builtin = engine_.library.find(call)) return callBuiltin(caller, *builtin, call);
  }

  if (function) {
    const std::vector<FunctionParameter>& parameters = parametersOf(caller, function->header);
    std::vector<CallArgument> arguments = evaluateArguments(caller, call, &parameters, mode);
    if (engine_.StopRequestedFor(caller.thread) || engine_.AbortFlag.load()) return ScriptValue::int32(0);
    if (mode == CallMode::Thread) return ScriptValue::int32(StartScriptThread(*this, caller, *function, arguments));
    ScriptValue result = CallUserFunction(caller, *function, arguments, mode == CallMode::CallFile);
    if (call.tail.empty()) return result;
    return memberOfResult(caller, result, call);
  }
  const bool dotted = countTopLevelDots(name) > 0;
  if (mode != CallMode::Expression || !dotted || engine_.store.IsModuleReference(name, caller)) {
    if (mode == CallMode::Expression && engine_.store.ResolveGlobal(name, caller, GlobalKind::DllFunction) >= 0)
      return callDll(caller, call);
    throw ScriptError(msg::unknownFunction());
  }
  // A dotted name that is no module member: a method of a script object.
  ObjectProvider* objects = engine_.library.objects();
  if (objects == nullptr) throw ScriptError(msg::comUnavailable(call.text));
  return objects->invoke(call, caller.builtinHost);
}

ScriptValue Executor::callBuiltin(ExecFrame& caller, const BuiltinEntry& builtin, const CallSite& call) {
  if (!call.tail.empty() && engine_.library.objects() == nullptr) throw ScriptError(msg::comUnavailable(call.text));
  ScriptValue result = engine_.library.call(builtin, call, caller.builtinHost);
  if (call.tail.empty()) return result;
  return memberOfResult(caller, result, call);
}

ScriptValue Executor::memberOfResult(ExecFrame& caller, const ScriptValue& result, const CallSite& call) {
  ObjectProvider* objects = engine_.library.objects();
  if (objects == nullptr) throw ScriptError(msg::comUnavailable(call.text));
  return objects->member(result, call.tail, call.text, caller.builtinHost);
}

ScriptValue Executor::callDll(ExecFrame& caller, const CallSite& call) {
  DllProvider* dll = engine_.library.dll();
  if (dll == nullptr) throw ScriptError(msg::dllUnavailable(call.name));
  const int index = engine_.store.ResolveGlobal(call.name, caller, GlobalKind::DllFunction);
  DllCall request{call.name, {}, {}, call};
  {
    std::lock_guard guard(engine_.dllLock);  // a running DEF_DLL line may replace the declaration
    const auto at = static_cast<size_t>(index);
    if (index >= 0 && at < engine_.program.DllDecls.size()) request.declaration = engine_.program.DllDecls[at];
    if (index >= 0 && at < engine_.program.DllDeclaredNames.size()) request.declaredName = engine_.program.DllDeclaredNames[at];
  }
  if (request.declaredName.empty()) request.declaredName = engine_.store.DllNames.nameAt(index);
  return dll->call(request, caller.builtinHost);
}

std::vector<CallArgument> Executor::evaluateArguments(ExecFrame& caller, const CallSite& call,
                                                      const std::vector<FunctionParameter>* parameters,
                                                      CallMode mode) {
  std::vector<CallArgument> arguments(call.argumentTexts.size());
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (engine_.StopRequestedFor(caller.thread) || engine_.AbortFlag.load()) break;
    CallArgument& argument = arguments[i];
    argument.text = call.argumentTexts[i];
    argument.expression = call.arguments[i].get();
    const bool passedByName = parameters != nullptr && i < parameters->size() && (*parameters)[i].isArray;
    // CALL passes "<#...>" texts as written.
    const bool verbatim = mode == CallMode::CallFile && FindOutside(u"<#", argument.text, false) > 0;
    if (passedByName || verbatim) {
      argument.value = ScriptValue::string(argument.text);
    } else {
      argument.value = Evaluate(caller, *argument.expression);
    }
  }
  return arguments;
}

const std::vector<FunctionParameter>& Executor::parametersOf(ExecFrame& f, int header) {
  return compiled(f, header).parameters;
}

// ---- CallUserFunction ----

ScriptValue Executor::CallUserFunction(ExecFrame& caller, const FoundFunction& function,
                                       std::vector<CallArgument>& arguments, bool parameterArray) {
  if (caller.depth + 1 >= kMaxCallDepth || StackNearlyExhausted())
    throw ScriptError(msg::callsTooDeep(function.name));
  ExecFrame f(*this, caller.thread, &caller);
  f.firstLine = function.header;
  f.moduleName = function.module;
  f.end = engine_.FunctionEnd(function.header);
  f.setLine(function.header);
  if (function.kind == FunctionKind::Function) f.locals.declare(u"RESULT");

  const std::vector<FunctionParameter>& parameters = parametersOf(f, function.header);
  std::vector<int> modes;
  if (parameterArray) {
    const int64_t upper = static_cast<int64_t>(arguments.size()) - 1;
    const int slot = f.locals.declare(u"PARAM_STR", std::span<const int64_t>(&upper, 1));
    for (size_t i = 0; i < arguments.size(); ++i) f.locals.slot(slot).values[i] = arguments[i].value;
  } else {
    bindParameters(f, caller, parameters, arguments, modes);
  }

  if (f.thread.isMain) engine_.familyState.get<CallPacing>().lastReturnMs = engine_.platform.clock.monotonicMs();
  RunRange(f, function.header + 1, f.end);
  // Counts no loop of the function took (BREAK outside a loop) end with it.
  f.breakCount = f.continueCount = 0;

  ScriptValue result = ScriptValue::int32(0);
  if (function.kind == FunctionKind::Function) result = engine_.store.GetValue(f, u"RESULT");
  if (!parameterArray) writeBack(f, caller, parameters, arguments, modes);
  return result;
}

void Executor::PrepareThreadFrame(ExecFrame& f, ExecFrame& caller, const FoundFunction& function,
                                  std::vector<CallArgument>& arguments) {
  f.firstLine = function.header;
  f.moduleName = function.module;
  f.end = engine_.FunctionEnd(function.header);
  f.setLine(function.header);
  std::vector<int> modes;
  bindParameters(f, caller, parametersOf(caller, function.header), arguments, modes);
}

void Executor::bindParameters(ExecFrame& callee, ExecFrame& caller, const std::vector<FunctionParameter>& parameters,
                              std::vector<CallArgument>& arguments, std::vector<int>& modes) {
  GlobalStore& store = engine_.store;
  for (size_t i = 0; i < parameters.size(); ++i) {
    const FunctionParameter& p = parameters[i];
    const bool given = i < arguments.size() &&
                       (arguments[i].expression == nullptr || !arguments[i].expression->isBlank());
    auto missing = [&] {
      return ScriptError(msg::missingArgument(engine_.program.ScriptLines[static_cast<size_t>(callee.firstLine)]));
    };
    int mode = kByValue;

    if (p.byReference && given) {
      // A constant or text block cannot take the value back.
      const std::u16string name = Trim(arguments[i].text);
      const bool variable = caller.locals.find(name) >= 0 ||
                            store.ResolveGlobal(name, caller, GlobalKind::Variable) >= 0;
      if (!variable && (store.ResolveGlobal(name, caller, GlobalKind::Const) >= 0 ||
                        store.ResolveGlobal(name, caller, GlobalKind::TextBlock) >= 0))
        throw ScriptError(msg::cannotAssign());
    }

    if (p.isArray) {
      if (!given) throw missing();
      const CallArgument& argument = arguments[i];
      const std::u16string text = Trim(argument.text);
      auto computed = [&] {
        setLocal(callee, p.name, argument.expression ? Evaluate(caller, *argument.expression) : argument.value);
        return kArrayValue;
      };
      if (FindOutside(u"[", text, true) != 0) {
        mode = computed();
      } else if (startsWith(text, u"SPLIT(") || startsWith(text, u"SLICE(")) {
        mode = computed();
      } else if (const int table = caller.hashTables.find(text); table >= 0) {
        const TUZHash& source = caller.hashTables.table(table);
        const int copy = callee.hashTables.declare(p.name, source.flags());
        callee.hashTables.table(copy) = source;
        mode = kCallerHash + table;
      } else if (const int table = store.ResolveGlobal(text, caller, GlobalKind::HashTable); table >= 0) {
        TUZHash copy = store.withGlobals([&](THensuFmt& globals) { return globals.hashTables.table(table); });
        const int own = callee.hashTables.declare(p.name, copy.flags());
        callee.hashTables.table(own) = std::move(copy);
        mode = kGlobalHash + table;
      } else if (const int slot = caller.locals.find(text); slot >= 0) {
        const int own = callee.locals.declare(p.name);
        callee.locals.slot(own) = caller.locals.slot(slot);
        mode = kArrayByName;
      } else if (const int slot = store.ResolveGlobal(text, caller, GlobalKind::Variable); slot >= 0) {
        VariableSlot copy = store.withGlobals([&](THensuFmt& globals) { return globals.locals.slot(slot); });
        const int own = callee.locals.declare(p.name);
        callee.locals.slot(own) = std::move(copy);
        mode = kArrayByName;
      } else {
        mode = computed();
      }
    } else {
      ScriptValue value;
      if (given) {
        value = arguments[i].value;
      } else if (p.defaultValue) {
        // Evaluated in the new frame: a default may use the parameters before it.
        value = Evaluate(callee, *p.defaultValue);
      } else {
        throw missing();
      }
      setLocal(callee, p.name, std::move(value));
    }
    modes.push_back(mode);
  }
}

void Executor::writeBack(ExecFrame& callee, ExecFrame& caller, const std::vector<FunctionParameter>& parameters,
                         std::vector<CallArgument>& arguments, const std::vector<int>& modes) {
  GlobalStore& store = engine_.store;
  for (size_t i = 0; i < parameters.size() && i < arguments.size() && i < modes.size(); ++i) {
    const FunctionParameter& p = parameters[i];
    if (!p.byReference) continue;
    const int mode = modes[i];
    const std::u16string text = Trim(arguments[i].text);
    if (mode == kByValue) {
      const NameRef* ref = assignableName(arguments[i]);
      if (ref == nullptr) continue;  // a literal or an expression has nowhere to go
      if (ref->dotted && !store.IsModuleReference(ref->name, caller)) continue;
      // GLOBAL.X inside a module goes to the global X.
      const bool global = IsGlobalQualified(ref->name, caller);
      THensuFmt& owner = global ? static_cast<THensuFmt&>(store.GlobalScope) : caller;
      const std::u16string_view name = global ? std::u16string_view(ref->name).substr(7) : ref->name;
      const bool exists = (!global && caller.locals.find(name) >= 0) ||
                          store.ResolveGlobal(name, owner, GlobalKind::Variable) >= 0 ||
                          (!ref->indexes.empty() && ((!global && caller.hashTables.find(name) >= 0) ||
                                                     store.ResolveGlobal(name, owner, GlobalKind::HashTable) >= 0));
      if (!exists) continue;
      const int slot = callee.locals.find(p.name);
      if (slot < 0) continue;
      const ScriptValue value = callee.locals.slot(slot).values[0];
      std::vector<ScriptValue> indexes;
      for (const auto& index : ref->indexes) indexes.push_back(Evaluate(caller, *index));
      PutFlags flags;
      flags.referenceText = ref->text;
      flags.noDeclare = true;
      store.PutValue(owner, name, indexes, value, flags);
    } else if (mode == kArrayByName) {
      const int own = callee.locals.find(p.name);
      if (own < 0) continue;
      const VariableSlot& result = callee.locals.slot(own);
      if (const int slot = caller.locals.find(text); slot >= 0) {
        caller.locals.slot(slot) = result;
      } else if (const int global = store.ResolveGlobal(text, caller, GlobalKind::Variable); global >= 0) {
        VariableSlot copy = result;
        store.withGlobals([&](THensuFmt& globals) { std::swap(globals.locals.slot(global), copy); });
      }
    } else if (mode >= kCallerHash && mode < kArrayValue) {
      const int own = callee.hashTables.find(p.name);
      if (own >= 0) caller.hashTables.table(mode - kCallerHash) = callee.hashTables.table(own);
    } else if (mode >= kGlobalHash && mode < kCallerHash) {
      const int own = callee.hashTables.find(p.name);
      if (own < 0) continue;
      TUZHash copy = callee.hashTables.table(own);
      store.withGlobals([&](THensuFmt& globals) { std::swap(globals.hashTables.table(mode - kGlobalHash), copy); });
    }
  }
}

// ---- handler procedures ----

void Executor::runHandler(int headerLine, const std::function<void(ExecFrame&)>& setUp,
                                 const std::function<void(ExecFrame&)>& after) {
  const Program& program = engine_.program;
  if (headerLine <= 0 || headerLine >= program.lineCount() || engine_.AbortFlag.load()) return;
  std::u16string module;
  for (const FuncEntry& entry : program.FuncEntries)
    if (entry.headerLine == headerLine) module = entry.module;
  TMainTrd& thread = engine_.TrdTable[0];
  ExecFrame top(*this, thread, nullptr);
  ExecFrame f(*this, thread, &top);
  f.firstLine = headerLine;
  f.moduleName = module;
  f.end = engine_.FunctionEnd(headerLine);
  f.setLine(headerLine);
  try {
    setUp(f);
    RunRange(f, headerLine + 1, f.end);
    after(f);
  } catch (const RaisedError& error) {
    engine_.ReportUncaught(error);
  } catch (const ScriptError& error) {
    engine_.ReportUncaught(Raise(f, error));
  }
}

void Executor::CallEventHandler(int headerLine, int eventId, std::vector<ScriptValue>& parameters) {
  runHandler(
      headerLine,
      [&](ExecFrame& f) {
        setLocal(f, u"EVENT_ID", ScriptValue::int32(eventId));
        const int64_t upper = static_cast<int64_t>(parameters.size()) - 1;
        const int slot = f.locals.declare(u"EVENT_PRM", std::span<const int64_t>(&upper, 1));
        for (size_t i = 0; i < parameters.size(); ++i) f.locals.slot(slot).values[i] = parameters[i];
      },
      [&](ExecFrame& f) {
        // By-reference event parameters take what the handler left in EVENT_PRM.
        const int slot = f.locals.find(u"EVENT_PRM");
        if (slot < 0) return;
        const auto& values = f.locals.slot(slot).values;
        for (size_t i = 0; i < parameters.size() && i < values.size(); ++i) parameters[i] = values[i];
      });
}

void Executor::CallHotkeyHandler(int headerLine, int virtualKey, int modifiers) {
  runHandler(
      headerLine,
      [&](ExecFrame& f) {
        setLocal(f, u"HOTKEY_VK", ScriptValue::int32(virtualKey));
        setLocal(f, u"HOTKEY_MOD", ScriptValue::int32(modifiers));
      },
      [](ExecFrame&) {});
}

}  // namespace maqo::engine
