#include "engine/values/reference_text.h"

#include <cmath>

#include "engine/values/number_text.h"
#include "engine/values/value_messages.h"

namespace maqo::engine {
namespace {

// Tracks whether a scan position is inside quotes, parentheses or brackets.
struct Nesting {
  bool quoted = false;
  int parens = 0;
  int brackets = 0;

  bool topLevel() const { return !quoted && parens == 0 && brackets == 0; }
  // Updates for c; call after deciding what c means at the current level.
  void step(char16_t c) {
    if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (c == u'(') ++parens;
      else if (c == u')' && parens > 0) --parens;
      else if (c == u'[') ++brackets;
      else if (c == u']' && brackets > 0) --brackets;
    }
  }
};

}  // namespace

ReferenceParts splitReference(std::u16string_view reference) {
  ReferenceParts parts;
  const size_t open = reference.find(u'[');
  if (reference.empty() || reference.back() != u']' || open == std::u16string_view::npos) {
    parts.name = std::u16string(reference);
    return parts;
  }
  parts.name = std::u16string(reference.substr(0, open));
  parts.indexed = true;
  const std::u16string_view list = reference.substr(open + 1, reference.size() - open - 2);

  Nesting nesting;
  size_t start = 0;
  auto take = [&](size_t end) {
    parts.indexTexts.emplace_back(trimControlAndSpace(list.substr(start, end - start)));
  };
  for (size_t i = 0; i < list.size(); ++i) {
    const char16_t c = list[i];
    if (nesting.topLevel()) {
      if (c == u',') {
        take(i);
        start = i + 1;
        continue;
      }
      if (c == u']' && i + 1 < list.size() && list[i + 1] == u'[') {
        take(i);
        start = i + 2;
        ++i;
        continue;
      }
    }
    nesting.step(c);
  }
  take(list.size());
  if (parts.indexTexts.size() > kMaxIndexes)
    throw ScriptError(value_messages::dimensionOfArray(reference));
  return parts;
}

size_t countTopLevelDots(std::u16string_view reference) {
  Nesting nesting;
  size_t dots = 0;
  for (char16_t c : reference) {
    if (c == u'.' && nesting.topLevel()) ++dots;
    nesting.step(c);
  }
  return dots;
}

std::optional<int64_t> indexToInteger(const ScriptValue& index) {
  // Whole doubles within 2^53 print exactly, so their text would give the
  // same integer: skip the text.
  if (index.isDouble()) {
    const double d = index.doublePayload();
    if (d == std::trunc(d) && std::fabs(d) < 9007199254740992.0) return static_cast<int64_t>(d);
  }
  if (index.isEmpty()) return 0;
  if (index.isInteger() && index.type() != VarType::UInt64) return index.integerPayload();
  const auto text = index.tryToText();
  if (!text) return std::nullopt;
  if (text->empty()) return 0;
  if (const auto integer = parseIntegerText(*text)) return integer;
  const auto number = parseNumberText(*text);
  if (!number || std::isnan(*number)) return std::nullopt;
  const double truncated = std::trunc(*number);
  if (truncated >= 9223372036854775807.0) return INT64_MAX;
  if (truncated <= -9223372036854775808.0) return INT64_MIN;
  return static_cast<int64_t>(truncated);
}

std::u16string referenceText(std::u16string_view name, std::span<const ScriptValue> indexes) {
  std::u16string text(name);
  for (const ScriptValue& index : indexes) {
    text += u'[';
    text += index.tryToText().value_or(u"?");
    text += u']';
  }
  return text;
}

}  // namespace maqo::engine
