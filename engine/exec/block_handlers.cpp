// The block statements: IFB, SELECT, FOR, FOR ... IN, WHILE, REPEAT and TRY.
// Each runs its body through RunRange over the lines the builder linked, and
// leaves the frame on the line after its block.
#include <algorithm>
#include <exception>
#include <optional>
#include <variant>

#include "engine/exec/exec_messages.h"
#include "engine/exec/executor.h"
#include "engine/exec/value_equality.h"
#include "engine/eval/text_helpers.h"
#include "engine/run/tuscript.h"
#include "engine/values/hash_table.h"
#include "engine/values/reference_text.h"
#include "engine/values/value_messages.h"

namespace maqo::engine {

namespace msg = exec_messages;

namespace {

template <typename Links>
const Links& linksOf(const Program& program, int line) {
  return std::get<Links>(program.Records[static_cast<size_t>(line)].links);
}

void cutWithStack(ExecFrame& f, size_t depth) {
  if (f.withStack.size() <= depth) return;
  f.withStack.resize(depth);
  f.withTarget = f.withStack.empty() ? ScriptValue() : f.withStack.back();
}

// SELECT compares texts in upper case unless OPTION SAMESTR, and an object
// reference without object as the NOTHING marker.
ScriptValue selectForm(ScriptValue value, bool sameStr) {
  if (value.isNativeString() && !sameStr) return ScriptValue::string(UpperCase(value.stringRef()));
  if (value.isNothing()) return ScriptValue::string(kNothingMarker);
  return value;
}

// The number a FOR header gives.
double forNumber(const ScriptValue& value) {
  const auto number = value.tryToDouble();
  if (!number) throw ScriptError(msg::nonNumeric());
  return *number;
}

}  // namespace

// ---- loops: what ends a pass ----

bool Executor::nextPass(ExecFrame& f, size_t withDepth) {
  cutWithStack(f, withDepth);
  if (f.breakCount > 0) return false;
  if (f.continueCount > 0 && --f.continueCount > 0) return false;  // a CONTINUE for a loop further out
  return !(f.stopFlag || f.exitRequested || engine_.AbortFlag.load(std::memory_order_relaxed) ||
           engine_.StopRequestedFor(f.thread));
}

void Executor::leaveLoop(ExecFrame& f, int closingLine, size_t withDepth) {
  if (f.breakCount > 0) --f.breakCount;
  cutWithStack(f, withDepth);
  f.setLine(closingLine + 1);
}

// ---- IFB / ELSEIF / ELSE / ENDIF ----

void Executor::ifBlock(ExecFrame& f, int line) {
  const Program& program = engine_.program;
  int endIf = linksOf<IfLinks>(program, line).endIf;
  for (int s = line;;) {
    const IfLinks& links = linksOf<IfLinks>(program, s);
    endIf = links.endIf;
    f.setLine(s);
    if (Evaluate(f, *compiled(f, s).expressions[0], true).isTrue()) {
      int end = links.endIf;
      if (links.nextElseIf >= 0) end = std::min(end, links.nextElseIf);
      if (links.elseLine >= 0) end = std::min(end, links.elseLine);
      RunRange(f, s + 1, end);
      break;
    }
    if (links.nextElseIf >= 0) {
      s = links.nextElseIf;  // the ELSEIF line carries the rest of the chain
      continue;
    }
    if (links.elseLine >= 0) RunRange(f, links.elseLine + 1, links.endIf);
    break;
  }
  f.setLine(endIf + 1);
}

// ---- SELECT / CASE / DEFAULT / SELEND ----

void Executor::selectBlock(ExecFrame& f, const CompiledLine& c) {
  const int s = f.line;
  const SelectLinks& links = linksOf<SelectLinks>(engine_.program, s);
  const bool sameStr = engine_.program.Options.sameStr;
  const ScriptValue value = selectForm(Evaluate(f, *c.expressions[0]), sameStr);

  int selected = -1;
  for (size_t i = 0; i < links.cases.size() && selected < 0; ++i) {
    f.setLine(links.cases[i].line);
    for (size_t j = 0; j < c.caseValues[i].size(); ++j) {
      const ScriptValue candidate = selectForm(Evaluate(f, *c.caseValues[i][j]), sameStr);
      bool match = false;
      if (!candidate.isEmpty() || !c.caseIsEmptyWord[i][j]) {
        try {
          match = ValuesEqual(value, candidate, f.evalHost);
        } catch (const ScriptError&) {
          match = false;
        }
      } else {
        match = value.isEmpty();
      }
      if (match) {
        selected = links.cases[i].line;
        break;
      }
    }
  }
  if (selected < 0) selected = links.defaultLine >= 0 ? links.defaultLine : links.selend;
  if (selected != links.selend) {
    // The part runs up to the next CASE or DEFAULT: no falling through.
    int end = links.selend;
    for (const CaseLink& other : links.cases)
      if (other.line > selected) end = std::min(end, other.line);
    if (links.defaultLine > selected) end = std::min(end, links.defaultLine);
    RunRange(f, selected + 1, end);
  }
  f.setLine(links.selend + 1);
}

// ---- FOR ... TO ... STEP / NEXT ----

void Executor::forBlock(ExecFrame& f, const CompiledLine& c) {
  const int s = f.line;
  const int next = linksOf<ForLinks>(engine_.program, s).next;
  const double from = forNumber(Evaluate(f, *c.expressions[0]));
  store(f, c.target, ScriptValue::number(from));
  const double to = forNumber(Evaluate(f, *c.expressions[1]));
  const double step = forNumber(Evaluate(f, *c.expressions[2]));
  if (step == 0) throw ScriptError(msg::stepZero());

  // A plain local loop variable is read and written in its slot directly
  // (found once; a slot keeps its number for the life of the frame).
  const int slotNumber =
      c.target.indexes.empty() && !c.target.dotted ? f.locals.find(c.target.name) : -1;
  auto localSlot = [&]() -> VariableSlot* {
    if (slotNumber < 0) return nullptr;
    VariableSlot& variable = f.locals.slot(slotNumber);
    return variable.isScalar() ? &variable : nullptr;
  };

  const size_t withDepth = f.withStack.size();
  for (;;) {
    f.setLine(s);
    // The value at the start of the pass decides the next one: assignments to
    // the variable inside the body do not change the sequence.
    VariableSlot* variable = localSlot();
    const double v = variable != nullptr ? forNumber(variable->values[0]) : forNumber(read(f, c.target));
    if (step > 0 ? v > to : v < to) break;
    RunRange(f, s + 1, next);
    if (!nextPass(f, withDepth)) break;
    f.setLine(s);
    const ScriptValue following = ScriptValue::number(v + step);
    if (VariableSlot* slot = localSlot()) {
      slot->values[0] = following;
    } else {
      store(f, c.target, following);
    }
  }
  leaveLoop(f, next, withDepth);
}

// ---- FOR ... IN / NEXT ----

std::vector<ScriptValue> Executor::forInElements(ExecFrame& f, const CompiledLine& c, std::u16string_view collection) {
  GlobalStore& store = engine_.store;
  std::vector<ScriptValue> elements;
  const std::u16string text = Trim(collection);

  // A declared array, or the block of it that leading indexes select.
  ArrayArgument array;
  try {
    array = store.ResolveArrayArgument(text, f, true);
  } catch (const ScriptError&) {
    array = ArrayArgument{};  // the evaluation below reports what is wrong
  }
  // Copied as the array is now: a script thread may have resized it since.
  if (array.slot >= 0) return store.CopyArrayBlock(f, array);

  // A hash table: its keys in the table's order.
  auto keysOf = [&](const TUZHash& table) {
    for (size_t i = 0; i < table.count(); ++i) elements.push_back(ScriptValue::string(table.keyAt(i)));
  };
  if (const int table = f.hashTables.find(text); table >= 0) {
    keysOf(f.hashTables.table(table));
    return elements;
  }
  if (const int table = store.ResolveGlobal(text, f, GlobalKind::HashTable); table >= 0) {
    store.withGlobals([&](THensuFmt& globals) { keysOf(globals.hashTables.table(table)); });
    return elements;
  }

  // NAME[i] where NAME holds a two-dimensional array value: that row.
  const ReferenceParts parts = splitReference(text);
  if (parts.indexed && parts.indexTexts.size() == 1 && parts.name.find(u'(') == std::u16string::npos) {
    if (const auto whole = store.TryGetValue(f, Trim(parts.name)); whole && whole->isArray()) {
      const ArrayValue& rows = whole->arrayRef();
      if (rows.dimensions() == 2) {
        const auto row = indexToInteger(EvalExpression(parts.indexTexts[0], f.evalHost, engine_.compileCache));
        const ArrayBound& first = rows.bound(0);
        if (!row || *row < first.lower || *row > first.upper)
          throw ScriptError(value_messages::exceededArray(Trim(parts.name)));
        const size_t width = static_cast<size_t>(rows.bound(1).length());
        const size_t start = static_cast<size_t>(*row - first.lower) * width;
        elements.assign(rows.elements().begin() + static_cast<std::ptrdiff_t>(start),
                        rows.elements().begin() + static_cast<std::ptrdiff_t>(start + width));
        return elements;
      }
    }
  }

  // Anything else is evaluated; list-returning builtins fill their _TMP arrays meanwhile.
  struct Collecting {
    THensuFmt& frame;
    bool before;
    ~Collecting() { frame.collecting = before; }
  } collecting{f, f.collecting};
  f.collecting = true;
  const ScriptValue value = Evaluate(f, *c.expressions[0]);
  f.collecting = collecting.before;
  if (value.isArray()) return value.arrayRef().elements();
  if (value.isObject() && !value.isNothing()) {
    ObjectProvider* objects = engine_.library.objects();
    if (objects == nullptr) throw ScriptError(msg::comUnavailable(text));
    return objects->elements(value, text, f.builtinHost);
  }
  const std::u16string characters = value.toText();
  for (char16_t ch : characters) elements.push_back(ScriptValue::string(std::u16string(1, ch)));
  return elements;
}

void Executor::forInBlock(ExecFrame& f, const CompiledLine& c) {
  const int s = f.line;
  const ForInLinks& links = linksOf<ForInLinks>(engine_.program, s);
  const std::vector<ScriptValue> elements = forInElements(f, c, links.collection);
  const size_t withDepth = f.withStack.size();
  for (const ScriptValue& element : elements) {
    f.setLine(s);
    store(f, c.target, element);
    RunRange(f, s + 1, links.next);
    if (!nextPass(f, withDepth)) break;
  }
  leaveLoop(f, links.next, withDepth);
}

// ---- WHILE / WEND ----

void Executor::whileBlock(ExecFrame& f, const CompiledLine& c) {
  const int s = f.line;
  const int wend = linksOf<WhileLinks>(engine_.program, s).wend;
  const size_t withDepth = f.withStack.size();
  for (;;) {
    f.setLine(s);
    if (!Evaluate(f, *c.expressions[0], true).isTrue()) break;
    RunRange(f, s + 1, wend);
    if (!nextPass(f, withDepth)) break;
  }
  leaveLoop(f, wend, withDepth);
}

// ---- REPEAT / UNTIL ----

void Executor::repeatBlock(ExecFrame& f, const CompiledLine& c) {
  const int s = f.line;
  const int until = linksOf<RepeatLinks>(engine_.program, s).until;
  const size_t withDepth = f.withStack.size();
  for (;;) {
    RunRange(f, s + 1, until);
    const bool continued = f.continueCount > 0;
    if (!nextPass(f, withDepth)) break;
    if (continued) continue;  // CONTINUE starts the body again without testing the condition
    f.setLine(until);
    if (Evaluate(f, *c.expressions[0], true).isTrue()) break;
  }
  leaveLoop(f, until, withDepth);
}

// ---- TRY / EXCEPT or FINALLY / ENDTRY ----

void Executor::tryBlock(ExecFrame& f) {
  const int s = f.line;
  const TryLinks links = linksOf<TryLinks>(engine_.program, s);
  f.tryErrorMessage.clear();
  f.tryErrorLine.clear();
  f.caught = false;
  const size_t withDepth = f.withStack.size();

  std::optional<RaisedError> taken, pending;
  {
    // The TRY counts as open while its body runs; an EXCEPT TRY also for the
    // functions called from it (their frames copy tryDepth).
    struct Open {
      ExecFrame& f;
      bool except;
      Open(ExecFrame& frame, bool e) : f(frame), except(e) {
        ++f.openTries;
        if (except) ++f.tryDepth;
      }
      ~Open() {
        --f.openTries;
        if (except) --f.tryDepth;
      }
    } open(f, links.except);
    if (std::optional<RaisedError> error = runTryBody(f, s + 1, links.handler)) {
      const bool stopping = engine_.AbortFlag.load() || engine_.StopRequestedFor(f.thread);
      if (links.except && error->catchable() && !stopping) {
        taken = std::move(error);
      } else {
        pending = std::move(error);
      }
    }
  }

  if (links.except) {
    if (pending) throw *pending;
    if (taken) {
      cutWithStack(f, withDepth);
      f.tryErrorMessage = Trim(taken->message().in(engine_.Japanese()));
      f.tryErrorLine = taken->location();
      f.caught = true;
      RunRange(f, links.handler + 1, links.endTry);
    }
  } else {
    bool runs = true;
    if (engine_.AbortFlag.load()) {
      runs = false;
    } else if (engine_.StopRequestedFor(f.thread)) {
      runs = engine_.program.Options.optFinally && !f.thread.abandoned();
    } else if (pending) {
      runs = pending->catchable();
    }
    if (runs) {
      cutWithStack(f, withDepth);
      runFinallyPart(f, links.handler, links.endTry);
    }
    if (pending) throw *pending;
  }
  f.setLine(links.endTry + 1);
}

void Executor::runFinallyPart(ExecFrame& f, int handler, int endTry) {
  // Whatever made the body end (EXIT, BREAK, CONTINUE, a stop) waits while the
  // FINALLY part runs; during a stop this thread goes on meanwhile.
  struct Hold {
    ExecFrame& f;
    bool stopping;
    bool stop, exit;
    int breaks, continues;
    Hold(ExecFrame& frame, bool s)
        : f(frame), stopping(s), stop(frame.stopFlag), exit(frame.exitRequested), breaks(frame.breakCount),
          continues(frame.continueCount) {
      f.stopFlag = f.exitRequested = false;
      f.breakCount = f.continueCount = 0;
      if (stopping) ++f.thread.ignoreStop;
    }
    ~Hold() {
      if (stopping) --f.thread.ignoreStop;
      f.stopFlag = f.stopFlag || stop;
      f.exitRequested = f.exitRequested || exit;
      f.breakCount += breaks;
      f.continueCount += continues;
    }
  } hold(f, engine_.StopRequest.load() > 0 || f.thread.quitRequested());
  RunRange(f, handler + 1, endTry);
}

}  // namespace maqo::engine
