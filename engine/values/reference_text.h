// References in text form (A, A[2][I+1], H["K", HASH_KEY], M.X) and the
// conversion of index values to element positions.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/values/script_value.h"

namespace maqo::engine {

inline constexpr size_t kMaxIndexes = 16;

struct ReferenceParts {
  std::u16string name;
  // The index expressions, trimmed, in order; "][" separates like ",".
  std::vector<std::u16string> indexTexts;
  // True when the reference ended with "]" (even "A[]", whose one index is empty).
  bool indexed = false;
};

// Splits a reference into its name and index texts. When the text ends with
// "]", the part before the first "[" is the name and the rest the index list,
// split at commas and "][" outside quotes, parentheses and brackets. Throws
// ScriptError "Dimension of array:" + reference for more than 16 indexes.
ReferenceParts splitReference(std::u16string_view reference);

// The number of "." outside quotes, brackets and parentheses.
size_t countTopLevelDots(std::u16string_view reference);

// An index value as an integer. The value's general text form is converted by
// integer conversion (sign and digits, or "$" and hex digits), else by
// floating-point conversion truncated toward zero; the empty text is 0.
// Numbers beyond the 64-bit range give INT64_MIN / INT64_MAX, which no bound
// check passes. Nothing when the text is no number (or the value has no text).
std::optional<int64_t> indexToInteger(const ScriptValue& index);

// name[i1][i2]... with the indexes in their general text form; for messages
// when the reference text as written is not at hand.
std::u16string referenceText(std::u16string_view name, std::span<const ScriptValue> indexes);

}  // namespace maqo::engine
