// The orders of QSORT. The elements are turned into sort keys once, and an
// index permutation is sorted with a stable merge sort, so sorted, reversed
// and all-equal input take n log n like any other.
#include <algorithm>
#include <numeric>
#include <optional>

#include "builtins/array_builtins.h"
#include "engine/eval/text_helpers.h"

namespace maqo::builtins {

using engine::ScriptValue;

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Compares two runs of decimal digits by their value.
int compareDigitRuns(std::u16string_view a, std::u16string_view b) {
  while (a.size() > 1 && a.front() == u'0') a.remove_prefix(1);
  while (b.size() > 1 && b.front() == u'0') b.remove_prefix(1);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  const int c = a.compare(b);
  return (c > 0) - (c < 0);
}

// The key of an element under the value type's own comparison: numbers
// (Empty as 0, booleans, dates, currency) before texts, texts before values
// without a comparable form.
struct ValueKey {
  int kind = 0;  // 0 number, 1 text, 2 other
  double number = 0;
  std::u16string text;
};

ValueKey valueKey(const ScriptValue& v) {
  ValueKey key;
  if (v.isString()) {
    key.kind = 1;
    key.text = v.toText();
  } else if (v.isEmpty() || v.isNumeric() || v.isBoolean()) {
    key.number = v.tryToDouble().value_or(0);
  } else {
    key.kind = 2;
  }
  return key;
}

std::u16string textForm(const ScriptValue& v) {
  if (v.isArray()) return std::u16string();
  return v.toDisplayText();
}

// Natural order of two texts already in upper case.
int compareNaturalFolded(std::u16string_view a, std::u16string_view b, platform::Locale& locale) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool da = isDigit(a[i]), db = isDigit(b[j]);
    if (da != db) return da ? -1 : 1;  // digits sort before other characters
    size_t ei = i, ej = j;
    while (ei < a.size() && isDigit(a[ei]) == da) ++ei;
    while (ej < b.size() && isDigit(b[ej]) == db) ++ej;
    const std::u16string_view ra = a.substr(i, ei - i), rb = b.substr(j, ej - j);
    const int c = da ? compareDigitRuns(ra, rb) : locale.compareText(ra, rb);
    if (c != 0) return c < 0 ? -1 : 1;
    i = ei;
    j = ej;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

int CompareNatural(std::u16string_view a, std::u16string_view b, platform::Locale& locale) {
  return compareNaturalFolded(engine::UpperCase(a), engine::UpperCase(b), locale);
}

std::vector<size_t> SortPermutation(const std::vector<ScriptValue>& elements, size_t count, SortOrder order,
                                    platform::Locale& locale) {
  count = std::min(count, elements.size());
  std::vector<size_t> permutation(count);
  std::iota(permutation.begin(), permutation.end(), size_t{0});
  if (count < 2) return permutation;

  switch (order) {
    case SortOrder::Ascending:
    case SortOrder::Descending: {
      std::vector<ValueKey> keys;
      keys.reserve(count);
      for (size_t i = 0; i < count; ++i) keys.push_back(valueKey(elements[i]));
      std::stable_sort(permutation.begin(), permutation.end(), [&](size_t x, size_t y) {
        const ValueKey& a = keys[x];
        const ValueKey& b = keys[y];
        if (a.kind != b.kind) return a.kind < b.kind;
        if (a.kind == 0) return a.number < b.number;
        if (a.kind == 1) return locale.compareText(a.text, b.text) < 0;
        return false;
      });
      break;
    }
    case SortOrder::TextAscending:
    case SortOrder::TextDescending:
    case SortOrder::NaturalAscending:
    case SortOrder::NaturalDescending: {
      const bool natural = order == SortOrder::NaturalAscending || order == SortOrder::NaturalDescending;
      std::vector<std::u16string> keys;
      keys.reserve(count);
      for (size_t i = 0; i < count; ++i)
        keys.push_back(natural ? engine::UpperCase(textForm(elements[i])) : textForm(elements[i]));
      std::stable_sort(permutation.begin(), permutation.end(), [&](size_t x, size_t y) {
        return natural ? compareNaturalFolded(keys[x], keys[y], locale) < 0 : locale.compareText(keys[x], keys[y]) < 0;
      });
      break;
    }
  }
  if (order == SortOrder::Descending || order == SortOrder::TextDescending || order == SortOrder::NaturalDescending)
    std::reverse(permutation.begin(), permutation.end());
  return permutation;
}

}  // namespace maqo::builtins
