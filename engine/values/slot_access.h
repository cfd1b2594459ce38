// Element addressing inside variable slots and the array values they hold.
// Shared by reads, writes and array arguments; internal to engine/values.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/values/reference_text.h"
#include "engine/values/script_value.h"
#include "engine/values/variable_table.h"

namespace maqo::engine::slot_access {

// Index values converted to integers.
struct IntegerIndexes {
  int64_t values[kMaxIndexes];
  size_t count = 0;
  const int64_t* data() const { return values; }
};

// Converts every index; on failure returns false and the offending text (the
// caller raises the error of its operation).
bool convert(std::span<const ScriptValue> indexes, IntegerIndexes& out, std::u16string& badText);

// The flat position addressed by the first min(n, dimensions) indexes, the
// indexes not given counting as 0; nothing when one of them is outside its
// declared bound.
std::optional<size_t> leadingPosition(const VariableSlot& slot, const int64_t* indexes, size_t n);

// Number of elements of the block that the first n indexes select.
size_t blockSize(const VariableSlot& slot, size_t n);

// The element that indexes address inside the array value held by element:
// an array with as many dimensions as indexes is indexed directly; with two
// indexes and a one-dimensional array the first selects an element that must
// hold a one-dimensional array, indexed by the second. Null when the shape
// does not fit (outOfBounds false) or an index is outside the array's bounds
// (outOfBounds true).
const ScriptValue* inner(const ScriptValue& element, const int64_t* indexes, size_t n, bool& outOfBounds);
// The same for writing: the arrays on the way are made unshared first.
ScriptValue* innerForWrite(ScriptValue& element, const int64_t* indexes, size_t n, bool& outOfBounds);

}  // namespace maqo::engine::slot_access
