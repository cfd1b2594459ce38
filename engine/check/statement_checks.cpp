// ChkKB_Koubun: the walk over one function body, and the checks of its
// statements, conditions, FOR headers and declarations.
#include <variant>

#include "engine/builder/builder_text.h"
#include "engine/check/check_messages.h"
#include "engine/check/checker.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/number_text.h"
#include "engine/values/reference_text.h"
#include "engine/values/value_messages.h"

namespace maqo::engine::check {

namespace msg = check_messages;
namespace vmsg = value_messages;

namespace {

// The number test of conditions and FOR limits: what the run could turn
// into a number (booleans count as their integer value).
bool isNumeric(const ScriptValue& value) { return value.tryToDouble().has_value(); }

std::u16string withoutSpaces(std::u16string_view text) {
  std::u16string out;
  for (const char16_t c : text)
    if (c != u' ') out += c;
  return out;
}

template <typename Links>
const Links* linksAt(const Program& program, int line) {
  return std::get_if<Links>(&program.Records[static_cast<size_t>(line)].links);
}

}  // namespace

void Checker::ChkKB_Koubun(int end) {
  for (int line = main_.header + 1; line < end; ++line) {
    main_.line = line;
    try {
      checkLine(line);
    } catch (const ScriptError&) {
      throw;
    } catch (const std::exception& error) {
      throw ScriptError(msg::internalFailure(u"ChkKB_Koubun", u16(error.what())));
    }
  }
}

void Checker::checkLine(int line) {
  const Program& p = program();
  const StatementKind kind = p.Records[static_cast<size_t>(line)].kind;
  const std::u16string& text = p.ScriptLines[static_cast<size_t>(line)];
  CheckFrame& f = main_;
  switch (kind) {
    case StatementKind::For:
      ++f.loopDepth;
      if (const auto* links = linksAt<ForLinks>(p, line)) checkFor(*links);
      return;
    case StatementKind::ForIn:
      ++f.loopDepth;
      if (const auto* links = linksAt<ForInLinks>(p, line)) checkForIn(*links);
      return;
    case StatementKind::While:
      ++f.loopDepth;
      if (const auto* links = linksAt<WhileLinks>(p, line)) checkCondition(*CompileExpression(links->condition));
      return;
    case StatementKind::Repeat:
      ++f.loopDepth;
      return;
    case StatementKind::Next:
    case StatementKind::Wend:
      --f.loopDepth;
      return;
    case StatementKind::Until:
      --f.loopDepth;
      checkCondition(*CompileExpression(text));
      return;
    case StatementKind::IfBlock:
      if (const auto* links = linksAt<IfLinks>(p, line)) checkCondition(*CompileExpression(links->condition));
      return;
    case StatementKind::Select:
      // The SELECT value is compared with the CASE values as it is; a text is
      // as good as a number there, so only the expression itself is checked.
      if (const auto* links = linksAt<SelectLinks>(p, line)) evaluateText(links->expression);
      return;
    case StatementKind::Case:
      checkCaseValues(text);
      return;
    case StatementKind::Else:
    case StatementKind::EndIf:
    case StatementKind::Selend:
    case StatementKind::Default:
    case StatementKind::Try:
    case StatementKind::Finally:
    case StatementKind::Except:
    case StatementKind::EndTry:
    case StatementKind::Nop:
      return;
    default:
      checkStatement(kind, text);
  }
}

void Checker::checkCondition(const Expression& condition) {
  if (!isNumeric(evaluate(condition))) throw ScriptError(msg::syntaxError(90));
}

void Checker::checkCaseValues(const std::u16string& values) {
  for (const auto& value : SplitAll(values, u","))
    if (!TrimView(value).empty()) evaluateText(TrimView(value));
}

void Checker::checkFor(const ForLinks& links) {
  const AssignTarget variable = MakeAssignTarget(links.variable);
  if (!isNumeric(evaluateText(links.from))) throw ScriptError(msg::syntaxError(95));
  checkAssignTarget(variable, {});
  if (!isNumeric(evaluateText(links.to))) throw ScriptError(msg::syntaxError(96));
  if (!isNumeric(evaluateText(links.step))) throw ScriptError(msg::syntaxError(97));
}

void Checker::checkForIn(const ForInLinks& links) {
  checkAssignTarget(MakeAssignTarget(links.variable), {});
  evaluateText(links.collection);
}

void Checker::checkStatement(StatementKind kind, const std::u16string& text) {
  switch (kind) {
    case StatementKind::Print:
    case StatementKind::ExitExit:
      evaluateText(text);
      return;
    case StatementKind::Thread:
      ChkKB_Call(*MakeCallSite(text), CallMode::Thread);
      return;
    case StatementKind::CallFile:
      ChkKB_Call(*MakeCallSite(text), CallMode::CallFile);
      return;
    case StatementKind::DefDll:
    case StatementKind::ComErrIgnore:
    case StatementKind::ComErrReport:
      return;
    case StatementKind::Dim:
      checkDim(text);
      return;
    case StatementKind::HashTbl:
      checkHashTbl(text);
      return;
    case StatementKind::Break:
      checkJump(text, true);
      return;
    case StatementKind::Continue:
      checkJump(text, false);
      return;
    case StatementKind::Exit:
      if (!TrimView(text).empty()) throw ScriptError(msg::syntaxError(100));
      return;
    case StatementKind::With:
      checkWith(text);
      return;
    case StatementKind::EndWith:
      checkEndWith();
      return;
    default:
      checkStatementForm(text);
  }
}

// The lines the builder left unclassified, classified as the run does:
// without a top-level "=" a call (of a COM member when the name is dotted and
// no module member), with one an assignment.
void Checker::checkStatementForm(const std::u16string& text) {
  const std::u16string_view statement = TrimView(text);
  if (statement.empty()) return;
  const size_t equals = AssignmentEquals(statement);
  if (equals == std::u16string_view::npos) {
    const auto call = MakeCallSite(statement);
    if (countTopLevelDots(statement) > 0 && !isModuleMember(call->name)) return checkMemberChain(statement, true);
    return ChkKB_Call(*call, CallMode::Expression);
  }
  if (equals == 0 || statement[equals - 1] == u':') throw ScriptError(msg::syntaxError(103));
  const std::u16string_view right = TrimView(statement.substr(equals + 1));
  if (right.empty()) throw ScriptError(msg::syntaxError(104));
  if (startsWith(right, u"THREAD ")) {
    ChkKB_Call(*MakeCallSite(TrimView(right.substr(7))), CallMode::Thread);
  } else {
    evaluateText(right);
  }
  const AssignTarget target = MakeAssignTarget(statement.substr(0, equals));
  if (target.dotted && !isModuleMember(target.name)) return checkMemberChain(target.text, false);
  checkAssignTarget(target, right);
}

void Checker::checkJump(const std::u16string& count, bool isBreak) {
  const int depth = frame().loopDepth;
  if (depth <= 0) throw ScriptError(isBreak ? msg::breakOutsideLoop() : msg::continueOutsideLoop());
  const std::u16string_view written = TrimView(count);
  if (written.empty()) return;
  // Exactly one of the texts "1" to the loop depth: no sign, no leading zero, no expression.
  const auto value = parseIntegerText(written);
  if (value && *value >= 1 && *value <= depth && formatInteger(*value) == written) return;
  throw ScriptError(isBreak ? msg::breakCountWrong() : msg::continueCountWrong());
}

void Checker::checkWith(const std::u16string& text) {
  const std::u16string_view target = TrimView(text);
  CheckFrame& f = frame();
  ScriptValue value;
  if (target == u"GLOBAL") throw ScriptError(msg::syntaxError(101));
  if (target == u"THIS") {
    if (f.moduleName.empty()) throw ScriptError(msg::syntaxError(102));
    value = ScriptValue::string(f.moduleName);
  } else if (const int module = store().ModuleNames.indexOf(target); module >= 0) {
    value = ScriptValue::string(store().ModuleNames.nameAt(module));
  } else {
    value = evaluateText(target);
  }
  f.withStack.push_back(value);
  f.withTarget = std::move(value);
}

void Checker::checkEndWith() {
  CheckFrame& f = frame();
  if (f.withStack.empty()) throw ScriptError(msg::endWithUnpaired());
  f.withStack.pop_back();
  f.withTarget = f.withStack.empty() ? ScriptValue() : f.withStack.back();
}

// DIM inside a function, split as the run splits it: items at top-level ","
// and "="; an array's initial values run to the end of the list, a scalar's
// is one expression.
void Checker::checkDim(const std::u16string& text) {
  std::u16string rest = text;
  while (!TrimView(rest).empty()) {
    const SplitPiece piece = SplitOffWithDelimiter(rest, u",=");
    const std::u16string item = Trim(piece.text);
    const bool initialised = piece.delimiter == u"=";
    if (item.empty()) {
      if (initialised) throw ScriptError(vmsg::wrongVariableName(item));
      continue;
    }
    const ReferenceParts parts = splitReference(item);
    const std::u16string name = Trim(parts.name);
    checkDeclaredName(name);
    // The bounds are expressions the run evaluates too.
    for (const auto& bound : parts.indexTexts)
      if (!bound.empty()) evaluateText(bound);
    if (!initialised) {
      if (withoutSpaces(item).find(u"[]") != std::u16string::npos) throw ScriptError(msg::syntaxError(70));
      frame().locals.declare(name);
      continue;
    }
    // The values are split as the run splits them; a missing value is the
    // check's own SyntaxError-71.
    std::vector<std::u16string> values;
    if (GlobalStore::SplitInitialValues(rest, parts.indexed, values)) throw ScriptError(msg::syntaxError(71));
    frame().locals.declare(name);
    for (const auto& value : values)
      if (!value.empty()) evaluateText(value);
  }
}

void Checker::checkHashTbl(const std::u16string& text) {
  if (text.find_first_of(u"[]") != std::u16string::npos) throw ScriptError(msg::syntaxError(73));
  for (const auto& item : SplitAll(text, u",")) {
    const std::u16string name = Trim(std::u16string_view(item).substr(0, item.find(u'=')));
    if (name.empty()) continue;
    checkDeclaredName(name);
    frame().hashTables.declare(name, 0);
  }
}

void Checker::checkDeclaredName(const std::u16string& name) {
  if (name.empty() || name.find_first_of(u" ,+-*/=<>()!?.") != std::u16string::npos)
    throw ScriptError(vmsg::wrongVariableName(name));
  if (auto reserved = store().ReservedWordError(name)) throw ScriptError(*reserved);
  const CheckFrame& f = frame();
  if (f.hasLocal(name) || store().ResolveGlobal(name, f, GlobalKind::Const) >= 0 ||
      store().ResolveGlobal(name, f, GlobalKind::TextBlock) >= 0)
    throw ScriptError(vmsg::alreadyDefinedVariable(name));
}

}  // namespace maqo::engine::check
