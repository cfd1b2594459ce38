// The string builtins that take a variable as written: LENGTH and TOKEN.
#include <algorithm>

#include "builtins/engine_interface.h"
#include "builtins/array_argument.h"
#include "builtins/builtin_messages.h"
#include "builtins/string_support.h"
#include "engine/errors/script_error.h"
#include "engine/values/reference_text.h"

namespace maqo::builtins {

using engine::ScriptValue;

namespace {

// Names of result arrays that other builtins fill; before they are filled
// they have no elements.
constexpr std::u16string_view kUnfilledResultArrays[] = {u"EVENT_PRM", u"GETDIR_FILES", u"ALL_ITEM_LIST", u"ALL_WIN_ID",
                                                         u"ALL_OLE_ITEM", u"ALL_IMG_X", u"ALL_IMG_Y"};

ScriptValue count(double n) { return ScriptValue::number(n); }

// The length of a value: elements of the first dimension of an array, else
// the characters of its text form.
ScriptValue lengthOfValue(const ScriptValue& value) {
  if (value.isArray()) return count(static_cast<double>(value.arrayRef().bound(0).length()));
  if (value.isObject() && !value.isNothing())
    throw engine::ScriptError(u"LENGTH of a COM collection needs COM object support, which this build does not have",
                              u"LENGTH: COM コレクションの要素数には COM オブジェクトの対応が必要です");
  const std::optional<std::u16string> text = value.tryToText();
  return count(text ? static_cast<double>(string_support::CodePointCount(*text)) : -1);
}

}  // namespace

// LENGTH(X): characters, elements or keys; -1 when X cannot be read.
ScriptValue LengthBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::u16string& text = call.text(0);
  engine::GlobalStore& store = host.globals();

  // A declared array addressed with fewer indexes than it has dimensions.
  if (IsPlainReference(text)) {
    const engine::ArrayArgument block = store.ResolveArrayArgument(text, host.frame(), true);
    if (block.slot >= 0) {
      const size_t given = engine::splitReference(text).indexTexts.size();
      const double size = WithSlot(host, block.slot, block.global, [&](engine::VariableSlot& slot) {
        return given < slot.dimensions() ? static_cast<double>(slot.upperBounds[given] + 1) : -1.0;
      });
      if (size >= 0) return count(size);
    }
    const engine::ReferenceParts parts = engine::splitReference(text);
    if (!parts.indexed) {
      if (std::find(std::begin(kUnfilledResultArrays), std::end(kUnfilledResultArrays), parts.name) !=
              std::end(kUnfilledResultArrays) &&
          !FindDeclaredVariable(host, parts.name))
        return count(0);
      const int local = host.frame().hashTables.find(parts.name);
      if (local >= 0) return count(static_cast<double>(host.frame().hashTables.table(local).count()));
      const int global = store.ResolveGlobal(parts.name, host.frame(), engine::GlobalKind::HashTable);
      if (global >= 0)
        return count(store.withGlobals(
            [&](engine::THensuFmt& g) { return static_cast<double>(g.hashTables.table(global).count()); }));
    }
  }

  ScriptValue value;
  try {
    // The call's own compiled argument when it has one (the text as written).
    const engine::CallSite& site = call.site;
    const bool compiled = !site.arguments.empty() && site.arguments[0] != nullptr &&
                          !site.argumentTexts.empty() && site.argumentTexts[0] == text;
    value = compiled ? host.evaluate(*site.arguments[0]) : host.evaluateText(text);
  } catch (const engine::ScriptError&) {
    // An argument that cannot be read has no length.
    return count(-1);
  }
  return lengthOfValue(value);
}

// TOKEN(delimiters, variable, [skip empty], [quotes]).
ScriptValue TokenBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::u16string& delimiters = call.text(0);
  const std::u16string& variable = call.text(1);
  const bool skipEmpty = call.count() >= 3 && call.integer(2) != 0;
  const bool quotes = call.count() >= 4 && call.integer(3) != 0;

  const std::u16string value = ReadVariable(host, variable).toArgumentText();
  auto isDelimiter = [&](char16_t c) { return delimiters.find(c) != std::u16string::npos; };

  // Position of the first delimiter at or after from, outside quotes when asked.
  auto nextDelimiter = [&](size_t from) {
    bool quoted = false;
    for (size_t i = from; i < value.size(); ++i) {
      if (quotes && value[i] == u'"') quoted = !quoted;
      if (!quoted && isDelimiter(value[i])) return i;
    }
    return std::u16string::npos;
  };

  size_t start = 0;
  size_t at = nextDelimiter(start);
  while (skipEmpty && at == start) {
    start = at + 1;
    at = nextDelimiter(start);
  }
  const std::u16string token = value.substr(start, at == std::u16string::npos ? std::u16string::npos : at - start);

  if (at == std::u16string::npos) {
    WriteVariable(host, variable, ScriptValue());
    return ScriptValue::string(token);
  }
  size_t rest = at + 1;
  if (skipEmpty)
    while (rest < value.size() && isDelimiter(value[rest]) && !(quotes && value[rest] == u'"')) ++rest;
  WriteVariable(host, variable, ScriptValue::string(value.substr(rest)));
  return ScriptValue::string(token);
}

}  // namespace maqo::builtins
