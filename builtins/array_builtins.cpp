// SETCLEAR, RESIZE, SHIFTARRAY, CALCARRAY, SAFEARRAY, SPLIT, JOIN, SLICE,
// QSORT and the family table. VARTYPE is in array_vartype.cpp.
#include "builtins/array_builtins.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "builtins/array_argument.h"
#include "builtins/builtin_messages.h"
#include "engine/reader/text_file.h"
#include "engine/values/number_text.h"
#include "engine/values/reference_text.h"
#include "engine/values/value_messages.h"

namespace maqo::builtins {

using engine::ArrayBound;
using engine::ArrayValue;
using engine::ScriptValue;

ScriptValue VarTypeBuiltin(BuiltinCall& call, BuiltinHost& host);
// The zero value of a value code for new array elements; throws for codes
// that an element cannot have.
ScriptValue ZeroValueOfType(int64_t code);

namespace {

ScriptValue nothingResult() { return ScriptValue::string(u""); }
ScriptValue number(double n) { return ScriptValue::number(n); }

engine::ScriptError tooLarge(std::u16string_view name) {
  return engine::ScriptError(engine::value_messages::arrayTooLarge(name));
}

// ---- SETCLEAR ----

ScriptValue setClearBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const ScriptValue value = call.count() >= 2 ? call.second : ScriptValue();
  ArrayArgumentAccess access = ArrayArgumentAccess::Resolve(host, call.text(0), MissingName::Error);
  if (!access.isArray()) {
    // A variable holding a single value is a block of one element.
    if (IsPlainReference(call.text(0))) WriteVariable(host, call.text(0), value);
    return nothingResult();
  }
  access.write(std::vector<ScriptValue>(access.size(), value));
  return nothingResult();
}

// ---- RESIZE ----

engine::ScriptError notAnArray(std::u16string_view name) {
  return engine::ScriptError(messages::cat(u"Is not an array: ", name), messages::cat(u"変数: ", name, u" 配列ではありません"),
                             false);
}

int64_t firstUpperBound(const ScriptValue& value) { return value.isArray() ? value.arrayRef().bound(0).upper : -1; }

// The array value with its last dimension ending at upper (elements that stay
// keep their indexes, new ones are Empty).
ScriptValue withLastUpperBound(const ScriptValue& value, int64_t upper, std::u16string_view name) {
  const ArrayValue& old = value.arrayRef();
  std::vector<ArrayBound> bounds = old.bounds();
  ArrayBound& last = bounds.back();
  if (upper < last.lower - 1) upper = last.lower - 1;
  if (last.lower < 0 ? upper > std::numeric_limits<int64_t>::max() + last.lower - 1
                     : upper - last.lower + 1 > ArrayValue::kMaxElements)
    throw tooLarge(name);
  const auto oldLength = static_cast<size_t>(last.length());
  last.upper = upper;
  const auto newLength = static_cast<size_t>(last.length());
  if (newLength > static_cast<size_t>(ArrayValue::kMaxElements)) throw tooLarge(name);
  ArrayValue resized(bounds);
  if (oldLength > 0 && newLength > 0) {
    for (size_t flat = 0; flat < old.size(); ++flat) {
      const size_t outer = flat / oldLength, inner = flat % oldLength;
      if (inner < newLength) resized.at(outer * newLength + inner) = old.at(flat);
    }
  }
  return ScriptValue::array(std::move(resized));
}

ScriptValue resizeBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::u16string& text = call.text(0);
  const bool hasBound = call.count() >= 2;
  if (!IsPlainReference(text)) return number(static_cast<double>(firstUpperBound(host.evaluateText(text))));
  const engine::ReferenceParts parts = engine::splitReference(text);
  const std::optional<DeclaredVariable> declared = FindDeclaredVariable(host, parts.name);
  if (!declared) return number(static_cast<double>(firstUpperBound(host.evaluateText(text))));

  const size_t given = parts.indexTexts.size();
  const size_t dimensions =
      WithSlot(host, declared->slot, declared->global, [](engine::VariableSlot& slot) { return slot.dimensions(); });

  if (!hasBound) {
    if (dimensions > 0 && given < dimensions)
      return number(static_cast<double>(WithSlot(host, declared->slot, declared->global,
                                                 [&](engine::VariableSlot& slot) { return slot.upperBounds[given]; })));
    return number(static_cast<double>(firstUpperBound(ReadVariable(host, text))));
  }

  int64_t upper = call.integer(1);
  if (upper < -1) upper = -1;
  if (dimensions > 0 && !parts.indexed) {
    // A declared array: only the first (outermost) dimension changes, so the
    // elements that stay keep their flat places.
    WithSlot(host, declared->slot, declared->global, [&](engine::VariableSlot& slot) {
      std::vector<int64_t> bounds = slot.upperBounds;
      int64_t rest = 1;
      for (size_t d = 1; d < bounds.size(); ++d) rest *= bounds[d] + 1;
      if (upper >= ArrayValue::kMaxElements || (rest > 0 && (upper + 1) > ArrayValue::kMaxElements / rest))
        throw tooLarge(parts.name);
      bounds[0] = upper;
      const size_t count = static_cast<size_t>((upper + 1) * rest);
      // Growing reserves room to the next multiple of 256 elements, so a
      // script that grows an array one by one does not copy it every time.
      if (count > slot.values.size()) slot.values.reserve((count / 256 + 1) * 256);
      slot.reshape(bounds, parts.name);
    });
    return number(static_cast<double>(upper));
  }
  if (dimensions == 0 && !parts.indexed) {
    const ScriptValue value = ReadVariable(host, text);
    if (!value.isArray()) throw notAnArray(parts.name);
    const ScriptValue resized = withLastUpperBound(value, upper, parts.name);
    WriteVariable(host, text, resized);
    return number(static_cast<double>(resized.arrayRef().bounds().back().upper));
  }
  const ScriptValue value = ReadVariable(host, text);
  if (!value.isArray()) throw engine::ScriptError(engine::value_messages::dimensionMismatch(parts.name), false);
  const ScriptValue resized = withLastUpperBound(value, upper, parts.name);
  WriteVariable(host, text, resized);
  return number(static_cast<double>(resized.arrayRef().bounds().back().upper));
}

// ---- SHIFTARRAY ----

ScriptValue shiftArrayBuiltin(BuiltinCall& call, BuiltinHost& host) {
  ArrayArgumentAccess access = ArrayArgumentAccess::Resolve(host, call.text(0), MissingName::Error);
  access.requireOneDimension(u"SHIFTARRAY");
  const int64_t n = call.integer(1);
  if (n == 0 || !access.isArray()) return nothingResult();
  std::vector<ScriptValue> elements = access.read();
  const auto size = static_cast<int64_t>(elements.size());
  // A shift by the whole length or more leaves nothing in place.
  const int64_t by = n > 0 ? std::min(n, size) : (n < -size ? size : -n);
  if (n > 0) {
    std::move_backward(elements.begin(), elements.end() - by, elements.end());
    std::fill(elements.begin(), elements.begin() + by, ScriptValue());
  } else {
    std::move(elements.begin() + by, elements.end(), elements.begin());
    std::fill(elements.end() - by, elements.end(), ScriptValue());
  }
  access.write(std::move(elements));
  return nothingResult();
}

// ---- CALCARRAY ----

ScriptValue calcArrayBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const int64_t kind = call.integer(1);
  if (kind < 1 || kind > 4) return ScriptValue();
  ArrayArgumentAccess access = ArrayArgumentAccess::Resolve(host, call.text(0), MissingName::Evaluate);
  access.requireOneDimension(u"CALCARRAY");
  const std::vector<ScriptValue> elements = access.read();
  if (elements.empty()) return kind == 1 ? number(0) : ScriptValue();
  const int64_t last = static_cast<int64_t>(elements.size()) - 1;
  const int64_t from = call.count() >= 3 ? std::max<int64_t>(call.integer(2), 0) : 0;
  const int64_t to = call.count() >= 4 ? std::min(call.integer(3), last) : last;
  double sum = 0, low = 0, high = 0;
  size_t counted = 0;
  for (int64_t i = from; i <= to; ++i) {
    const ScriptValue& element = elements[static_cast<size_t>(i)];
    if (element.isEmpty()) continue;
    const double v = element.toDouble();
    if (counted == 0 || v < low) low = v;
    if (counted == 0 || v > high) high = v;
    sum += v;
    ++counted;
  }
  switch (kind) {
    case 1: return number(sum);
    case 2: return counted ? number(low) : ScriptValue();
    case 3: return counted ? number(high) : ScriptValue();
    default: return counted ? number(sum / static_cast<double>(counted)) : ScriptValue();
  }
}

// ---- SAFEARRAY ----

ScriptValue safeArrayBuiltin(BuiltinCall& call, BuiltinHost&) {
  std::vector<ArrayBound> bounds;
  int64_t type = 12;
  const int n = call.count();
  if (n == 0) {
    bounds = {ArrayBound{1, 0}};
  } else if (n == 1) {
    bounds = {ArrayBound{call.integer(0), 0}};
  } else if (n <= 3) {
    bounds = {ArrayBound{call.integer(0), call.integer(1)}};
    if (n == 3) type = call.integer(2);
  } else {
    bounds = {ArrayBound{call.integer(0), call.integer(1)}, ArrayBound{call.integer(2), call.integer(3)}};
    if (n >= 5) type = call.integer(4);
  }
  for (const ArrayBound& b : bounds) {
    // Lengths that do not fit are refused before anything is allocated.
    const long double length = static_cast<long double>(b.upper) - static_cast<long double>(b.lower) + 1;
    if (length > static_cast<long double>(ArrayValue::kMaxElements)) throw tooLarge(u"SAFEARRAY");
  }
  const ScriptValue zero = ZeroValueOfType(type);
  ArrayValue array(bounds);
  if (!zero.isEmpty())
    for (auto& element : array.elements()) element = zero;
  return ScriptValue::array(std::move(array));
}

// ---- SPLIT ----

std::vector<std::u16string> splitAt(std::u16string_view text, std::u16string_view delimiter) {
  std::vector<std::u16string> parts;
  size_t start = 0;
  for (size_t at = text.find(delimiter); at != std::u16string_view::npos; at = text.find(delimiter, start)) {
    parts.emplace_back(text.substr(start, at - start));
    start = at + delimiter.size();
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

ScriptValue splitBuiltin(BuiltinCall& call, BuiltinHost&) {
  const std::u16string& text = call.text(0);
  if (text.empty()) return ScriptValue::array(ArrayValue({ArrayBound{1, 0}}));
  const std::u16string delimiter = call.count() >= 2 ? call.text(1) : u" ";
  const bool skipEmpty = call.count() >= 3 && call.integer(2) != 0;
  const bool numbers = call.count() >= 4 && call.integer(3) != 0;

  std::vector<std::u16string> parts;
  if (delimiter == u"\r\n")
    parts = engine::SplitTextLines(text);  // CR LF, CR and LF, as files split
  else if (delimiter.empty())
    parts = {text};  // nothing to cut at: the whole text is the one part
  else
    parts = splitAt(text, delimiter);

  std::vector<ScriptValue> elements;
  elements.reserve(parts.size());
  for (auto& part : parts) {
    if (numbers) {
      std::erase(part, u',');
      if (auto value = engine::parseNumberText(part, engine::NumberTextMode::Loose)) {
        elements.push_back(ScriptValue::number(*value));
        continue;
      }
      part.clear();
    }
    if (skipEmpty && part.empty()) continue;
    elements.push_back(ScriptValue::string(std::move(part)));
  }
  return ScriptValue::array(ArrayValue::fromList(std::move(elements)));
}

// ---- JOIN ----

// The texts of the entries JOIN works on: a declared array's block, a hash
// table's values, an array value's elements, or a single value.
std::vector<std::u16string> joinEntries(BuiltinHost& host, std::u16string_view text) {
  std::vector<std::u16string> out;
  if (IsPlainReference(text)) {
    const engine::ReferenceParts parts = engine::splitReference(text);
    if (!parts.indexed && host.globals().ResolveArrayArgument(text, host.frame(), true).slot < 0) {
      const int local = host.frame().hashTables.find(parts.name);
      const engine::TUZHash* table = local >= 0 ? &host.frame().hashTables.table(local) : nullptr;
      if (table) {
        for (size_t i = 0; i < table->count(); ++i) out.push_back(table->valueAt(i).toDisplayText());
        return out;
      }
      const int global = host.globals().ResolveGlobal(parts.name, host.frame(), engine::GlobalKind::HashTable);
      if (global >= 0) {
        host.globals().withGlobals([&](engine::THensuFmt& g) {
          const engine::TUZHash& t = g.hashTables.table(global);
          for (size_t i = 0; i < t.count(); ++i) out.push_back(t.valueAt(i).toDisplayText());
        });
        return out;
      }
    }
  }
  ArrayArgumentAccess access = ArrayArgumentAccess::Resolve(host, text, MissingName::Evaluate);
  if (!access.isArray()) {
    out.push_back(access.value().toDisplayText());
    return out;
  }
  for (const ScriptValue& element : access.read()) out.push_back(element.toDisplayText());
  return out;
}

ScriptValue joinBuiltin(BuiltinCall& call, BuiltinHost& host) {
  const std::vector<std::u16string> entries = joinEntries(host, call.text(0));
  const std::u16string delimiter = call.count() >= 2 ? call.text(1) : u" ";
  const bool skipEmpty = call.count() >= 3 && call.integer(2) != 0;
  const int64_t last = static_cast<int64_t>(entries.size()) - 1;
  const int64_t from = call.count() >= 4 ? std::max<int64_t>(call.integer(3), 0) : 0;
  const int64_t to = call.count() >= 5 ? std::min(call.integer(4), last) : last;
  std::u16string out;
  bool first = true;
  for (int64_t i = from; i <= to; ++i) {
    const std::u16string& entry = entries[static_cast<size_t>(i)];
    if (skipEmpty && entry.empty()) continue;
    if (!first) out += delimiter;
    out += entry;
    first = false;
  }
  return ScriptValue::string(std::move(out));
}

// ---- SLICE ----

ScriptValue sliceBuiltin(BuiltinCall& call, BuiltinHost& host) {
  ArrayArgumentAccess access = ArrayArgumentAccess::Resolve(host, call.text(0), MissingName::Evaluate);
  access.requireOneDimension(u"SLICE");
  std::vector<ScriptValue> selected;
  if (access.isArray() && access.size() > 0) {
    // Positions are the script's own indexes: 0-based in a declared array's
    // block, the array's own bounds for an array value.
    const int64_t firstIndex = access.firstIndex();
    const int64_t lastIndex = firstIndex + static_cast<int64_t>(access.size()) - 1;
    const int64_t from = std::max(call.count() >= 2 ? call.integer(1) : firstIndex, firstIndex);
    const int64_t to = std::min(call.count() >= 3 ? call.integer(2) : lastIndex, lastIndex);
    if (from <= to) {
      const std::vector<ScriptValue> elements = access.read();
      selected.assign(elements.begin() + (from - firstIndex), elements.begin() + (to - firstIndex) + 1);
    }
  }
  return ScriptValue::array(ArrayValue::fromList(std::move(selected)));
}

// ---- QSORT ----

ScriptValue qsortBuiltin(BuiltinCall& call, BuiltinHost& host) {
  if (call.count() > 10) throw engine::ScriptError(u"QSORT: Too many arguments", u"QSORT：引数が多すぎます", false);
  const int64_t orderCode = call.count() >= 2 ? call.integer(1) : 0;
  const SortOrder order = orderCode >= 0 && orderCode <= 5 ? static_cast<SortOrder>(orderCode) : SortOrder::Ascending;

  ArrayArgumentAccess main = ArrayArgumentAccess::Resolve(host, call.text(0), MissingName::Error);
  main.requireOneDimension(u"QSORT");
  std::vector<ScriptValue> elements = main.read();
  size_t count = elements.size();
  while (count > 0 && elements[count - 1].isEmpty()) --count;  // trailing EMPTY elements stay where they are
  if (count < 2) return nothingResult();

  std::vector<ArrayArgumentAccess> companions;
  std::vector<std::vector<ScriptValue>> companionElements;
  for (int k = 2; k < call.count(); ++k) {
    ArrayArgumentAccess companion = ArrayArgumentAccess::Resolve(host, call.text(k), MissingName::Error);
    companion.requireOneDimension(u"QSORT");
    std::vector<ScriptValue> values = companion.read();
    if (values.size() < count)
      throw messages::callFailure(
          messages::cat(u"QSORT: the array has fewer elements than the sorted part: ", call.text(k)),
          messages::cat(u"QSORT: 配列の要素数が並べ替える範囲より少ない: ", call.text(k)));
    companions.push_back(std::move(companion));
    companionElements.push_back(std::move(values));
  }

  const std::vector<size_t> permutation = SortPermutation(elements, count, order, host.platform().locale);
  auto apply = [&](std::vector<ScriptValue>& values) {
    std::vector<ScriptValue> sorted;
    sorted.reserve(count);
    for (size_t k = 0; k < count; ++k) sorted.push_back(std::move(values[permutation[k]]));
    std::move(sorted.begin(), sorted.end(), values.begin());
  };
  apply(elements);
  main.write(std::move(elements));
  for (size_t c = 0; c < companions.size(); ++c) {
    apply(companionElements[c]);
    companions[c].write(std::move(companionElements[c]));
  }
  return nothingResult();
}

const NamedBuiltin kArrayBuiltins[] = {
    {u"SETCLEAR", setClearBuiltin}, {u"RESIZE", resizeBuiltin}, {u"SHIFTARRAY", shiftArrayBuiltin},
    {u"CALCARRAY", calcArrayBuiltin}, {u"SAFEARRAY", safeArrayBuiltin}, {u"SPLIT", splitBuiltin},
    {u"JOIN", joinBuiltin}, {u"SLICE", sliceBuiltin}, {u"QSORT", qsortBuiltin},
    {u"VARTYPE", VarTypeBuiltin},
};

}  // namespace

std::span<const NamedBuiltin> ArrayBuiltins() { return kArrayBuiltins; }

}  // namespace maqo::builtins
