#include "engine/values/slot_access.h"

namespace maqo::engine::slot_access {

bool convert(std::span<const ScriptValue> indexes, IntegerIndexes& out, std::u16string& badText) {
  out.count = 0;
  if (indexes.size() > kMaxIndexes) {
    badText = u"more than 16 indexes";
    return false;
  }
  for (const ScriptValue& index : indexes) {
    const auto integer = indexToInteger(index);
    if (!integer) {
      badText = index.tryToText().value_or(u"?");
      return false;
    }
    out.values[out.count++] = *integer;
  }
  return true;
}

std::optional<size_t> leadingPosition(const VariableSlot& slot, const int64_t* indexes, size_t n) {
  size_t position = 0;
  const size_t k = slot.dimensions();
  for (size_t d = 0; d < k; ++d) {
    const int64_t upper = slot.upperBounds[d];
    int64_t index = 0;
    if (d < n) {
      index = indexes[d];
      if (index < 0 || index > upper) return std::nullopt;
    }
    // Bounded by the element count, which fits size_t.
    position = position * static_cast<size_t>(upper + 1) + static_cast<size_t>(index);
  }
  return position;
}

size_t blockSize(const VariableSlot& slot, size_t n) {
  size_t size = 1;
  for (size_t d = n; d < slot.dimensions(); ++d) size *= static_cast<size_t>(slot.upperBounds[d] + 1);
  return size;
}

namespace {

template <typename Value, typename GetArray>
Value* address(Value& element, const int64_t* indexes, size_t n, bool& outOfBounds, GetArray getArray) {
  outOfBounds = false;
  if (!element.isArray() || n == 0) return nullptr;
  auto& array = getArray(element);
  if (array.dimensions() == n) {
    const auto flat = array.flatIndex(std::span<const int64_t>(indexes, n));
    if (!flat) {
      outOfBounds = true;
      return nullptr;
    }
    return &array.at(*flat);
  }
  if (n != 2 || array.dimensions() != 1) return nullptr;
  const auto first = array.flatIndex(std::span<const int64_t>(indexes, 1));
  if (!first) {
    outOfBounds = true;
    return nullptr;
  }
  auto& nested = array.at(*first);
  if (!nested.isArray() || getArray(nested).dimensions() != 1) return nullptr;
  auto& innerArray = getArray(nested);
  const auto second = innerArray.flatIndex(std::span<const int64_t>(indexes + 1, 1));
  if (!second) {
    outOfBounds = true;
    return nullptr;
  }
  return &innerArray.at(*second);
}

}  // namespace

const ScriptValue* inner(const ScriptValue& element, const int64_t* indexes, size_t n, bool& outOfBounds) {
  return address(element, indexes, n, outOfBounds,
                 [](const ScriptValue& v) -> const ArrayValue& { return v.arrayRef(); });
}

ScriptValue* innerForWrite(ScriptValue& element, const int64_t* indexes, size_t n, bool& outOfBounds) {
  return address(element, indexes, n, outOfBounds, [](ScriptValue& v) -> ArrayValue& { return v.mutableArray(); });
}

}  // namespace maqo::engine::slot_access
