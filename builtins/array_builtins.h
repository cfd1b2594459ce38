// The array builtins (SETCLEAR, RESIZE, SHIFTARRAY, CALCARRAY, SAFEARRAY,
// SPLIT, JOIN, SLICE, QSORT) and VARTYPE, as a table for the dispatcher's
// implementation list.
#pragma once
#include <span>
#include <string_view>
#include <vector>

#include "builtins/string_builtins.h"
#include "engine/values/script_value.h"
#include "platform/locale.h"

namespace maqo::builtins {

std::span<const NamedBuiltin> ArrayBuiltins();

// The sort orders of QSORT (the QSRT_ constants).
enum class SortOrder {
  Ascending = 0,          // the value type's own comparison
  Descending = 1,
  TextAscending = 2,      // the locale's case-sensitive comparison of the text forms
  TextDescending = 3,
  NaturalAscending = 4,   // digit runs as numbers, case ignored
  NaturalDescending = 5,
};

// The order in which QSORT puts the first count elements: result[k] is the
// position of the element that goes to position k. Sorting is stable on the
// ascending order; the descending orders reverse it.
std::vector<size_t> SortPermutation(const std::vector<engine::ScriptValue>& elements, size_t count, SortOrder order,
                                    platform::Locale& locale);

// Natural order of two texts: negative, zero or positive.
int CompareNatural(std::u16string_view a, std::u16string_view b, platform::Locale& locale);

}  // namespace maqo::builtins
