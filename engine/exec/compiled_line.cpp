#include "engine/exec/compiled_line.h"

#include <variant>

#include "engine/builder/builder_text.h"
#include "engine/eval/evaluator.h"
#include "engine/eval/text_helpers.h"
#include "engine/values/reference_text.h"

namespace maqo::engine {

namespace {

void addExpression(CompiledLine& out, std::u16string_view text) { out.expressions.push_back(CompileExpression(text)); }

void compileSelect(const SelectLinks& links, CompiledLine& out) {
  addExpression(out, links.expression);
  for (const CaseLink& c : links.cases) {
    std::vector<ExpressionPtr> values;
    std::vector<bool> emptyWord;
    for (const auto& v : c.values) {
      values.push_back(CompileExpression(v));
      emptyWord.push_back(v == u"EMPTY");
    }
    out.caseValues.push_back(std::move(values));
    out.caseIsEmptyWord.push_back(std::move(emptyWord));
  }
}

}  // namespace

size_t AssignmentEquals(std::u16string_view text) {
  const size_t at = FindOutside(u"=", text, true, 1, true);
  return at == 0 ? std::u16string_view::npos : at - 1;
}

AssignTarget MakeAssignTarget(std::u16string_view text) {
  AssignTarget target;
  target.text = Trim(text);
  const ReferenceParts parts = splitReference(target.text);
  target.name = Trim(parts.name);
  if (parts.indexed) {
    for (const auto& index : parts.indexTexts) target.indexes.push_back(CompileExpression(index));
  }
  target.dotted = target.name.find(u'.') != std::u16string::npos;
  return target;
}

std::unique_ptr<CallSite> MakeCallSite(std::u16string_view text) {
  auto call = std::make_unique<CallSite>();
  call->text = Trim(text);
  const std::u16string_view whole = call->text;
  const size_t open = FindOutside(u"(", whole, false);
  if (open == 0) {
    call->name = call->text;
    return call;
  }
  call->name = Trim(whole.substr(0, open - 1));
  std::u16string_view arguments = whole.substr(open);
  if (!arguments.empty() && arguments.back() == u')') arguments.remove_suffix(1);
  call->argumentText = std::u16string(arguments);
  if (!TrimView(arguments).empty()) {
    for (const auto& piece : SplitAll(arguments, u",")) call->argumentTexts.push_back(Trim(piece));
  }
  for (const auto& argument : call->argumentTexts) call->arguments.push_back(CompileExpression(argument));
  return call;
}

std::vector<FunctionParameter> ParseParameters(std::u16string_view header) {
  std::vector<FunctionParameter> parameters;
  const size_t open = header.find(u'(');
  if (open == std::u16string_view::npos) return parameters;
  std::u16string_view inside = header.substr(open + 1);
  const size_t close = inside.rfind(u')');
  if (close != std::u16string_view::npos) inside = inside.substr(0, close);
  if (TrimView(inside).empty()) return parameters;
  for (const auto& piece : SplitAll(inside, u",")) {
    std::u16string_view declaration = TrimView(piece);
    if (declaration.empty()) break;  // an empty item ends the list
    FunctionParameter p;
    if (startsWith(declaration, u"VAR ")) {
      p.byReference = true;
      declaration = TrimView(declaration.substr(4));
    }
    const size_t equals = FindOutside(u"=", declaration, true, 1, true);
    std::u16string_view name = declaration;
    if (equals > 1) {
      name = TrimView(declaration.substr(0, equals - 1));
      p.defaultValue = CompileExpression(declaration.substr(equals));
    }
    const size_t bracket = name.find(u'[');
    p.isArray = bracket != std::u16string_view::npos;
    p.name = Trim(name.substr(0, bracket));
    parameters.push_back(std::move(p));
  }
  return parameters;
}

void ClassifyStatement(std::u16string_view text, CompiledLine& out) {
  const std::u16string_view statement = TrimView(text);
  if (statement.empty()) {
    out.empty = true;
    return;
  }
  const size_t equals = AssignmentEquals(statement);
  if (equals == std::u16string_view::npos) {
    out.kind = StatementKind::Call;
    out.call = MakeCallSite(statement);
    return;
  }
  out.kind = StatementKind::Assignment;
  out.target = MakeAssignTarget(statement.substr(0, equals));
  const std::u16string_view right = TrimView(statement.substr(equals + 1));
  if (startsWith(right, u"THREAD ")) {
    out.threadStart = true;
    out.call = MakeCallSite(TrimView(right.substr(7)));
    return;
  }
  addExpression(out, right);
  out.appendsInPlace = out.target.indexes.empty() && !out.target.dotted &&
                       AppendsToName(*out.expressions[0], out.target.name);
}

std::unique_ptr<CompiledLine> CompileProgramLine(const Program& program, int line) {
  const LineRecord& record = program.Records[static_cast<size_t>(line)];
  const std::u16string& text = program.ScriptLines[static_cast<size_t>(line)];
  auto out = std::make_unique<CompiledLine>();
  out->kind = record.kind;
  if (record.error) return out;
  switch (record.kind) {
    case StatementKind::Unclassified:
      if (startsWith(text, u"FUNCTION ") || startsWith(text, u"PROCEDURE ")) {
        out->empty = true;
        out->parameters = ParseParameters(text);
      } else {
        ClassifyStatement(text, *out);
      }
      break;
    case StatementKind::IfBlock:
      if (const auto* links = std::get_if<IfLinks>(&record.links)) addExpression(*out, links->condition);
      break;
    case StatementKind::Select:
      if (const auto* links = std::get_if<SelectLinks>(&record.links)) compileSelect(*links, *out);
      break;
    case StatementKind::For:
      if (const auto* links = std::get_if<ForLinks>(&record.links)) {
        out->target = MakeAssignTarget(links->variable);
        addExpression(*out, links->from);
        addExpression(*out, links->to);
        addExpression(*out, links->step);
      }
      break;
    case StatementKind::ForIn:
      if (const auto* links = std::get_if<ForInLinks>(&record.links)) {
        out->target = MakeAssignTarget(links->variable);
        addExpression(*out, links->collection);
      }
      break;
    case StatementKind::While:
      if (const auto* links = std::get_if<WhileLinks>(&record.links)) addExpression(*out, links->condition);
      break;
    case StatementKind::Repeat:
      if (const auto* links = std::get_if<RepeatLinks>(&record.links)) addExpression(*out, links->condition);
      break;
    case StatementKind::Print:
    case StatementKind::ExitExit:
    case StatementKind::With:
    case StatementKind::Break:
    case StatementKind::Continue:
      addExpression(*out, text);
      break;
    case StatementKind::CallFile:
    case StatementKind::Thread:
      out->call = MakeCallSite(text);
      break;
    default:
      break;
  }
  return out;
}

}  // namespace maqo::engine
