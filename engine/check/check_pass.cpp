// CheckAllFunctions: the driver of the check pass. Each function gets the
// check frame fresh, its body is the run of lines up to its FEND (a build
// error among them is reported first), its parameters are declared, and
// ChkKB_Koubun walks the body.
#include "engine/check/check_pass.h"

#include <algorithm>

#include "engine/builder/build_messages.h"
#include "engine/builder/builder_text.h"
#include "engine/check/check_messages.h"
#include "engine/check/checker.h"
#include "engine/eval/text_helpers.h"

namespace maqo::engine {

namespace check {

namespace msg = check_messages;

namespace {

Message markerMessage(const Program& program, int line) {
  return Message{program.ScriptLines[static_cast<size_t>(line)].substr(kErrorMarker.size()), {}};
}

// The function a line outside every checked body belongs to, for its
// location: the nearest header above it.
int enclosingHeader(const Program& program, int line) {
  int header = 0;
  for (const FuncEntry& entry : program.FuncEntries)
    if (entry.headerLine <= line && entry.headerLine > header) header = entry.headerLine;
  return header;
}

bool isFunctionHeader(std::u16string_view text) {
  return startsWith(text, u"FUNCTION ") || startsWith(text, u"PROCEDURE ");
}

}  // namespace

HeaderParameters ParseHeaderParameters(std::u16string_view header) {
  HeaderParameters out;
  const size_t open = header.find(u'(');
  if (open == std::u16string_view::npos) return out;
  std::u16string_view list = TrimView(header.substr(open + 1));
  if (list.empty()) return out;
  if (list.back() != u')') {
    out.error = msg::syntaxError(125);
    return out;
  }
  list.remove_suffix(1);
  if (TrimView(list).empty()) return out;
  for (const auto& piece : SplitAll(list, u",")) {
    std::u16string_view item = TrimView(piece);
    if (item.empty()) {
      out.parameters.clear();
      out.error = msg::syntaxError(126);
      return out;
    }
    HeaderParameter parameter;
    if (startsWith(item, u"VAR ")) {
      parameter.byReference = true;
      item = TrimView(item.substr(4));
    }
    if (const size_t equals = FindOutside(u"=", item, true, 1, true); equals > 0) {
      parameter.hasDefault = true;
      parameter.defaultText = Trim(item.substr(equals));
      item = TrimView(item.substr(0, equals - 1));
    }
    const size_t bracket = item.find(u'[');
    if (bracket != std::u16string_view::npos) {
      for (const char16_t c : item.substr(bracket))
        if (c == u'[') ++parameter.dimensions;
    }
    parameter.name = Trim(item.substr(0, bracket));
    out.parameters.push_back(std::move(parameter));
  }
  return out;
}

void CheckFrame::reset(int headerLine, const std::u16string& module) {
  locals.clear();
  hashTables.clear();
  withStack.clear();
  withTarget = ScriptValue();
  moduleName = module;
  firstLine = header = line = headerLine;
  loopDepth = 0;
  static constexpr int64_t kOneElement[] = {0};
  locals.declare(u"PARAM_STR", kOneElement);
  locals.declare(u"RESULT");
}

std::optional<CheckFailure> Checker::CheckAllFunctions() {
  const Program& p = program();
  const int entries = std::min(p.FuncNames.count(), static_cast<int>(p.FuncEntries.size()));
  for (int entry = 0; entry < entries; ++entry) {
    if (auto failure = checkFunction(entry)) return failure;
  }
  // A build error on a line no function body holds (a stray block keyword
  // after the last FEND of a file) would never be met by the walk; the run
  // must not start with it either.
  if (const int line = p.firstErrorLine(); line >= 0)
    return CheckFailure{markerMessage(p, line), enclosingHeader(p, line), line};
  return std::nullopt;
}

std::optional<CheckFailure> Checker::checkFunction(int entry) {
  const Program& p = program();
  const FuncEntry& function = p.FuncEntries[static_cast<size_t>(entry)];
  const int count = p.lineCount();
  const int header = function.headerLine;
  if (header < 0 || header >= count) return std::nullopt;
  main_.reset(header, function.module);
  auto at = [&](Message message, int line) { return CheckFailure{std::move(message), header, line}; };

  // The body runs to the first FEND; a build error on the way is the error.
  if (p.Records[static_cast<size_t>(header)].error) return at(markerMessage(p, header), header);
  int end = header + 1;
  for (; end < count; ++end) {
    const LineRecord& record = p.Records[static_cast<size_t>(end)];
    if (record.error) return at(markerMessage(p, end), end);
    if (record.kind == StatementKind::Fend) break;
  }
  if (end >= count) return at(msg::noFend(p.FuncNames.nameAt(entry)), header);

  try {
    declareHeaderParameters();
    ChkKB_Koubun(end);
  } catch (const LocatedFailure& located) {
    return located.failure;
  } catch (const ScriptError& error) {
    return at(error.message(), main_.line);
  }
  return std::nullopt;
}

void Checker::declareHeaderParameters() {
  const std::u16string& text = program().ScriptLines[static_cast<size_t>(main_.header)];
  if (!isFunctionHeader(text)) return;
  const HeaderParameters header = ParseHeaderParameters(text);
  if (header.error) throw ScriptError(*header.error);
  for (const HeaderParameter& parameter : header.parameters)
    if (!parameter.name.empty()) main_.locals.declare(parameter.name);
}

ScriptValue Checker::evaluate(const Expression& expression) { return EvaluateExpression(expression, host_); }

ScriptValue Checker::evaluateText(std::u16string_view text) { return evaluate(*CompileExpression(text)); }

}  // namespace check

std::optional<CheckFailure> CheckAllFunctions(const CheckScope& scope) {
  check::Checker checker(scope);
  return checker.CheckAllFunctions();
}

}  // namespace maqo::engine
