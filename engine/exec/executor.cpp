// The statement loop, error location and the simple statements.
#include "engine/exec/executor.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/builder/build_messages.h"
#include "engine/builder/dll_declaration.h"
#include "engine/errors/location_text.h"
#include "engine/eval/evaluator.h"
#include "engine/eval/text_helpers.h"
#include "engine/exec/exec_messages.h"
#include "engine/run/large_stack.h"
#include "engine/run/tuscript.h"
#include "engine/threads/thread_control.h"
#include "engine/threads/thread_start.h"
#include "engine/values/number_text.h"
#include "engine/values/reference_text.h"
#include "engine/values/value_messages.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace msg = exec_messages;

// ---- the statement loop ----

CompiledLine& Executor::compiled(ExecFrame& f, int line) {
  TMainTrd& thread = f.thread;
  const int count = engine_.program.lineCount();
  if (thread.lines.size() != static_cast<size_t>(count)) thread.prepare(count);
  auto& slot = thread.lines[static_cast<size_t>(line)];
  if (!slot) slot = CompileProgramLine(engine_.program, line);
  return *slot;
}

void Executor::letMessagesRun(ExecFrame& f) {
  platform::Platform& p = engine_.platform;
  TMainTrd& thread = f.thread;
  if (--thread.clockCountdown <= 0) {
    constexpr int64_t kPumpIntervalMs = 10;
    constexpr int kMaxClockStride = 256;
    const int64_t now = p.clock.monotonicMs();
    const int64_t gone = now - thread.lastPumpMs;
    if (gone >= kPumpIntervalMs) {
      p.ui.pumpMessages();
      thread.lastPumpMs = now;
    }
    // Keep the reads about one pump interval apart whatever a statement costs.
    if (gone > kPumpIntervalMs) {
      thread.clockStride = static_cast<int>(std::max<int64_t>(1, thread.clockStride * kPumpIntervalMs / gone));
    } else if (thread.clockStride < kMaxClockStride) {
      thread.clockStride *= 2;
    }
    thread.clockCountdown = thread.clockStride;
  }
  // Paused from the stop form: wait, but never past a stop request.
  while (engine_.RunState.load(std::memory_order_relaxed) == kRunPaused && engine_.StopRequest.load() == 0) {
    platform::sleepPumping(p, 50, [&] {
      return engine_.RunState.load() != kRunPaused || engine_.StopRequest.load() > 0;
    });
  }
}

bool Executor::mayContinue(ExecFrame& f) {
  if (f.thread.isMain) {
    letMessagesRun(f);
  } else if (HasThreadControl(f.thread)) {
    // A script thread suspended by CTRLTRD waits here, between two statements.
    ObeyThreadControl(f.thread, [&] {
      return engine_.StopRequest.load() > 0 || engine_.AbortFlag.load() || f.thread.quitRequested();
    });
  }
  if (engine_.StopRequestedFor(f.thread)) {
    f.stopFlag = true;
    return false;
  }
  if (engine_.AbortFlag.load(std::memory_order_relaxed)) return false;
  return !f.leaving();
}

void Executor::RunRange(ExecFrame& f, int from, int end) {
  f.setLine(from);
  while (f.line < end && mayContinue(f)) ExecStatement(f);
}

void Executor::ExecStatement(ExecFrame& f) {
  if (std::optional<RaisedError> error = execStatementCatching(f)) throw std::move(*error);
}

std::optional<RaisedError> Executor::execStatementCatching(ExecFrame& f) {
  f.setLine(f.line);
  try {
    if (StackNearlyExhausted()) throw ScriptError(msg::blocksTooDeep());
    // An assignment's own evaluation failure comes back without a throw.
    if (!dispatch(f, compiled(f, f.line))) return Raise(f, ExpressionError(false));
  } catch (const RaisedError&) {
    throw;  // raised by a statement further in: passed on as it is
  } catch (const ScriptError& error) {
    return Raise(f, error);
  } catch (const std::exception& error) {
    return Raise(f, ScriptError(msg::analysis(u16(error.what())), false));
  }
  return std::nullopt;
}

std::optional<RaisedError> Executor::runTryBody(ExecFrame& f, int from, int end) {
  f.setLine(from);
  while (f.line < end && mayContinue(f)) {
    try {
      if (std::optional<RaisedError> error = execStatementCatching(f)) return error;
    } catch (const RaisedError& error) {
      return error;
    }
  }
  return std::nullopt;
}

ScriptValue Executor::Evaluate(ExecFrame& f, const Expression& expression, bool condition) {
  return EvaluateExpression(expression, f.evalHost, condition);
}

// ---- errors ----

std::u16string Executor::Location(const ExecFrame& f) const {
  return LocationText(engine_.program, f.firstLine, f.line, engine_.Japanese(), engine_.EmbeddedScript);
}

RaisedError Executor::Raise(ExecFrame& f, const ScriptError& error) {
  // An abandoned thread's run is over: its program may be gone, and nobody
  // reports its errors.
  if (f.thread.abandoned()) return RaisedError(error, {});
  const std::u16string file = ScriptFileOfFunction(engine_.program, f.firstLine, engine_.EmbeddedScript);
  const SourceRef ref = engine_.program.sourceRef(f.line);
  std::u16string location = FormatLocation(file, ref.number, ref.text, engine_.Japanese());
  f.tryErrorMessage = Trim(error.message().in(engine_.Japanese()));
  f.tryErrorLine = location;
  return RaisedError(error, std::move(location), file.empty());
}

// ---- dispatch ----

bool Executor::dispatch(ExecFrame& f, CompiledLine& c) {
  const int line = f.line;
  const LineRecord& record = engine_.program.Records[static_cast<size_t>(line)];
  const std::u16string& text = engine_.program.ScriptLines[static_cast<size_t>(line)];
  if (record.error) {
    // A build error the check pass did not report: the line cannot run.
    throw ScriptError(Message{text.substr(kErrorMarker.size()), {}}, false);
  }
  switch (c.kind) {
    case StatementKind::Assignment:
      if (!assign(f, c)) return false;
      break;
    case StatementKind::Call: KansuCall(f, *c.call); break;
    case StatementKind::IfBlock: ifBlock(f, line); return true;
    case StatementKind::Select: selectBlock(f, c); return true;
    case StatementKind::For: forBlock(f, c); return true;
    case StatementKind::ForIn: forInBlock(f, c); return true;
    case StatementKind::While: whileBlock(f, c); return true;
    case StatementKind::Repeat: repeatBlock(f, c); return true;
    case StatementKind::Try: tryBlock(f); return true;
    case StatementKind::Finally: throw ScriptError(msg::syntaxError(27));
    case StatementKind::Except: throw ScriptError(msg::syntaxError(28));
    case StatementKind::Print: print(f, c); break;
    case StatementKind::Thread: KansuCall(f, *c.call, CallMode::Thread); break;
    case StatementKind::DefDll: defineDll(f, text); break;
    case StatementKind::Dim: declareLocals(f, c, text); break;
    case StatementKind::HashTbl: engine_.store.DeclareHashTables(text, f, false); break;
    case StatementKind::Break: f.breakCount = jumpCount(f, c); break;
    case StatementKind::Continue: f.continueCount = jumpCount(f, c); break;
    case StatementKind::Exit: f.exitRequested = true; break;
    case StatementKind::CallFile: KansuCall(f, *c.call, CallMode::CallFile); break;
    case StatementKind::ExitExit: exitExit(f, c); break;
    case StatementKind::With: with(f, c, text); break;
    case StatementKind::EndWith: endWith(f); break;
    case StatementKind::ComErrIgnore:
      f.thread.comErrorIgnore = true;
      f.thread.comErrorFlag = false;
      break;
    case StatementKind::ComErrReport: f.thread.comErrorIgnore = false; break;
    default:
      // Empty lines, function headers, NOP, and closing lines (which their
      // block handlers pass over; met here only after a block that failed to build).
      break;
  }
  f.setLine(line + 1);
  return true;
}

// ---- simple statements ----

ScriptValue Executor::read(ExecFrame& f, const AssignTarget& target) {
  std::vector<ScriptValue> indexes;
  indexes.reserve(target.indexes.size());
  for (const auto& index : target.indexes) indexes.push_back(Evaluate(f, *index));
  if (IsGlobalQualified(target.name, f))
    return engine_.store.GetValue(engine_.store.GlobalScope, std::u16string_view(target.name).substr(7), indexes);
  return engine_.store.GetValue(f, target.name, indexes, false, &target.hints);
}

void Executor::store(ExecFrame& f, const AssignTarget& target, const ScriptValue& value) {
  if (target.dotted && !engine_.store.IsModuleReference(target.name, f)) {
    ObjectProvider* objects = engine_.library.objects();
    if (objects == nullptr) throw ScriptError(msg::comUnavailable(target.text));
    return objects->set(target.text, value, f.builtinHost);
  }
  std::vector<ScriptValue> indexes;
  indexes.reserve(target.indexes.size());
  for (const auto& index : target.indexes) indexes.push_back(Evaluate(f, *index));
  PutFlags flags;
  flags.referenceText = target.text;
  flags.noDeclare = engine_.program.Options.explicitVariables;
  flags.hints = &target.hints;
  if (IsGlobalQualified(target.name, f)) {
    flags.noDeclare = true;
    return engine_.store.PutValue(engine_.store.GlobalScope, std::u16string_view(target.name).substr(7), indexes,
                                  value, flags);
  }
  engine_.store.PutValue(f, target.name, indexes, value, flags);
}

bool Executor::assign(ExecFrame& f, CompiledLine& c) {
  if (c.threadStart) {
    ScriptValue slot;
    try {
      slot = KansuCall(f, *c.call, CallMode::Thread);
    } catch (const ThreadLimitError&) {
      // The variable learns that no thread started; the error goes on.
      store(f, c.target, ScriptValue::int32(-1));
      throw;
    }
    store(f, c.target, slot);
    return true;
  }
  if (c.appendsInPlace && c.appendTargetHeldText && appendInPlace(f, c)) return true;
  ScriptValue value;
  if (!TryEvaluateExpression(*c.expressions[0], f.evalHost, value)) return false;
  if (c.appendsInPlace) c.appendTargetHeldText = value.isNativeString();
  store(f, c.target, value);
  return true;
}

bool Executor::appendInPlace(ExecFrame& f, const CompiledLine& c) {
  GlobalStore& store = engine_.store;
  // Only a text grows in place: "+" adds to a number.
  if (!store.HoldsText(f, c.target.name, &c.target.hints)) return false;
  const std::u16string tail = EvaluateAppendedText(*c.expressions[0], f.evalHost);
  const bool specialChar = engine_.program.Options.evalOptions().specialChar;
  // Another thread may have changed a shared S meanwhile: then the statement
  // runs the ordinary way (the operands only read, so reading them again is harmless).
  return store.EditText(f, c.target.name, &c.target.hints, [&](std::u16string& text) {
    const size_t oldSize = text.size();
    text.append(tail);
    ExpandSpecialCharactersAfterJoin(text, oldSize, specialChar);
  });
}

void Executor::print(ExecFrame& f, const CompiledLine& c) {
  const ScriptValue value = Evaluate(f, *c.expressions[0]);
  if (engine_.StopRequestedFor(f.thread) || engine_.AbortFlag.load()) return;
  const std::u16string text = value.toDisplayText();
  try {
    engine_.platform.ui.printLine(text);
  } catch (const std::exception& error) {
    throw ScriptError(Message{u16(error.what()), {}});
  }
}

int Executor::jumpCount(ExecFrame& f, const CompiledLine& c) {
  if (c.expressions.empty() || c.expressions[0]->isBlank()) return 1;
  const double n = Evaluate(f, *c.expressions[0]).toDouble();
  if (!(n >= 1)) return 1;
  return n > 1e6 ? 1000000 : static_cast<int>(n);
}

void Executor::exitExit(ExecFrame& f, const CompiledLine& c) {
  if (!c.expressions.empty() && !c.expressions[0]->isBlank()) {
    const ScriptValue value = Evaluate(f, *c.expressions[0]);
    if (const auto text = value.tryToText()) {
      const std::u16string code = UpperCase(Trim(*text));
      if (const auto number = parseNumberText(code)) {
        const double whole = std::trunc(*number);
        constexpr double lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
        engine_.ExitCode.store(static_cast<int>(whole < lowest ? lowest : whole > highest ? highest : whole));
      } else if (code == u"TRUE") {
        engine_.ExitCode.store(1);
      } else if (code == u"FALSE") {
        engine_.ExitCode.store(0);
      }
    }
  }
  engine_.ExitAllFlag.store(true);
  engine_.StopRequest.store(1);
  f.stopFlag = true;
}

void Executor::with(ExecFrame& f, const CompiledLine& c, std::u16string_view text) {
  const std::u16string_view target = TrimView(text);
  ScriptValue value;
  const GlobalStore& store = engine_.store;
  if (target == u"THIS" && !f.moduleName.empty()) {
    value = ScriptValue::string(f.moduleName);
  } else if (const int module = store.ModuleNames.indexOf(target); module >= 0) {
    value = ScriptValue::string(store.ModuleNames.nameAt(module));
  } else {
    value = Evaluate(f, *c.expressions[0]);
  }
  f.withStack.push_back(value);
  f.withTarget = std::move(value);
}

void Executor::endWith(ExecFrame& f) {
  if (!f.withStack.empty()) f.withStack.pop_back();
  f.withTarget = f.withStack.empty() ? ScriptValue() : f.withStack.back();
}

void Executor::defineDll(ExecFrame& f, std::u16string_view text) {
  std::u16string qualified(TrimView(text));
  if (!f.moduleName.empty()) qualified = f.moduleName + u"." + qualified;
  const DllDeclarationText declaration = SplitDllDeclaration(qualified);
  std::lock_guard guard(engine_.dllLock);
  const int index = engine_.store.DllNames.indexOf(declaration.name);
  if (index < 0) return;
  auto& declarations = engine_.program.DllDecls;
  if (static_cast<size_t>(index) >= declarations.size()) declarations.resize(static_cast<size_t>(index) + 1);
  if (declarations[static_cast<size_t>(index)] != declaration.declaration)
    declarations[static_cast<size_t>(index)] = declaration.declaration;
}

// DIM inside a function: "NAME", "NAME[u]...", each optionally followed by "="
// and initial values (an array's values run to the end of the list;
// "NAME[] = a, b, c" takes its size from them).
namespace {

// Splits a DIM list into its items. Whatever makes an item invalid becomes the
// list's failure, raised after the items before it were declared, as a list
// read item by item would.
std::unique_ptr<LocalDeclarationList> SplitLocalDeclarations(const GlobalStore& store,
                                                             std::u16string_view declaration) {
  namespace vmsg = value_messages;
  auto list = std::make_unique<LocalDeclarationList>();
  std::u16string rest(declaration);
  try {
    while (!TrimView(rest).empty()) {
      const SplitPiece piece = SplitOffWithDelimiter(rest, u",=");
      LocalDeclarationItem entry;
      entry.item = Trim(piece.text);
      const bool initialised = piece.delimiter == u"=";
      if (entry.item.empty()) {
        if (initialised) throw ScriptError(vmsg::wrongVariableName(entry.item));
        continue;
      }
      entry.parts = splitReference(entry.item);
      entry.name = Trim(entry.parts.name);
      if (entry.name.empty() || entry.name.find_first_of(u" ,+-*/=<>()!?.") != std::u16string::npos)
        throw ScriptError(vmsg::wrongVariableName(entry.item));
      if (auto reserved = store.ReservedWordError(entry.name)) throw ScriptError(*reserved);
      std::vector<std::u16string> valueTexts;
      if (initialised)
        if (auto error = GlobalStore::SplitInitialValues(rest, entry.parts.indexed, valueTexts))
          throw ScriptError(*error);
      for (const std::u16string& text : valueTexts)
        entry.initialValues.push_back(text.empty() ? nullptr : CompileExpression(text));
      list->items.push_back(std::move(entry));
    }
  } catch (const ScriptError& error) {
    list->failure = error;
  }
  return list;
}

}  // namespace

void Executor::declareLocals(ExecFrame& f, CompiledLine& c, std::u16string_view declaration) {
  GlobalStore& store = engine_.store;
  if (!c.localDeclarations) c.localDeclarations = SplitLocalDeclarations(store, declaration);
  for (const LocalDeclarationItem& entry : c.localDeclarations->items) {
    std::vector<int64_t> bounds;
    if (auto error = store.DeclaredBounds(entry.parts, entry.initialValues.size(), entry.item, f, bounds))
      throw ScriptError(*error);
    const int slot = store.DeclareLocal(f, entry.name, bounds);
    for (size_t position = 0; position < entry.initialValues.size(); ++position) {
      ScriptValue value;
      if (entry.initialValues[position]) value = Evaluate(f, *entry.initialValues[position]);
      std::vector<ScriptValue>& values = f.locals.slot(slot).values;
      if (position >= values.size()) throw ScriptError(value_messages::initialiserExceeded());
      values[position] = std::move(value);
    }
  }
  if (c.localDeclarations->failure) throw *c.localDeclarations->failure;
}

void Executor::ExecuteStatementText(ExecFrame& f, std::u16string_view statement) {
  const std::u16string_view text = TrimView(statement);
  if (text.substr(0, 7) == u"THREAD ") {
    const std::unique_ptr<CallSite> call = MakeCallSite(TrimView(text.substr(7)));
    KansuCall(f, *call, CallMode::Thread);
    return;
  }
  CompiledLine line;
  ClassifyStatement(text, line);
  if (line.empty) return;
  if (line.kind == StatementKind::Assignment) {
    if (!assign(f, line)) throw ExpressionError(false);
    return;
  }
  KansuCall(f, *line.call);
}

}  // namespace maqo::engine
